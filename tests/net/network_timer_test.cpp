#include "net/network_timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvo {
namespace {

// A tick source and recorders for everything the timer drives.
class FakeNetwork : public NetworkTimerHost {
 public:
  uint32_t now = 0;
  bool loaded = false;
  bool timerEnabled = true;
  bool windowLoaded = true;
  std::string listText = "A$U1#B$U2";
  std::vector<uint32_t> checkTimes;
  std::vector<uint32_t> fetchTimes;
  int disables = 0;
  int paints = 0;
  // What CheckForUpdate does; returns false (offline) unless replaced.
  std::function<bool()> onCheck = [] { return false; };

  uint32_t TickCount() override { return now; }
  bool CheckForUpdate() override {
    checkTimes.push_back(now);
    return onCheck();
  }
  void StartGGFetch() override { fetchTimes.push_back(now); }
  bool GGLoaded() override { return loaded; }
  std::string GGText() override { return listText; }
  void DisableTimer() override {
    timerEnabled = false;
    ++disables;
  }
  void PaintCalendar() override { ++paints; }
  bool WindowLoaded() override { return windowLoaded; }
};

class NetworkTimerTest : public ::testing::Test {
 protected:
  // Start-up ends at `startTick` with LastNetTry set to it.
  void StartAt(uint32_t startTick) {
    net.now = startTick;
    state.LastNetTry = startTick;
  }
  // Timer1 ticking every 10 ms until the clock reaches `end`, with an
  // optional action just before each tick.
  void TickUntil(uint32_t end, const std::function<void()>& beforeTick = {}) {
    // Until the clock has reached `end` (which may lie past the wrap).
    while (TicksSince(net.now, end) != 0 && TicksSince(net.now, end) < 0x80000000u) {
      net.now += 10;
      if (beforeTick) beforeTick();
      if (net.timerEnabled) timer.Timer1_Timer();
    }
  }

  CalendarState state;
  FakeNetwork net;
  NetworkTimer timer{state, net};
};

TEST(TicksSince, CountsAcrossTheWrap) {
  EXPECT_EQ(TicksSince(1000, 16000), 15000u);
  EXPECT_EQ(TicksSince(4294963200u, 10904), 15000u);
  EXPECT_EQ(TicksSince(4294967295u, 0), 1u);
  EXPECT_FALSE(NetStepDue(4294963200u, 10904));
  EXPECT_TRUE(NetStepDue(4294963200u, 10905));
}

TEST_F(NetworkTimerTest, FirstStepComesWithTheFirstTickPast15000Ms) {
  StartAt(1000);
  TickUntil(16000);  // exactly 15000 ms: no step yet
  EXPECT_TRUE(net.checkTimes.empty());
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_EQ(state.LastNetTry, 1000u);
  TickUntil(16010);
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{16010}));
  EXPECT_EQ(net.fetchTimes, (std::vector<uint32_t>{16010}));
  EXPECT_EQ(state.LastNetTry, 16010u);
}

TEST_F(NetworkTimerTest, StepAcrossTheTickCounterWrap) {
  StartAt(4294963200u);  // 4096 ms before the wrap
  net.now = 10904;
  timer.Timer1_Timer();
  EXPECT_TRUE(net.checkTimes.empty());
  net.now = 10905;
  timer.Timer1_Timer();
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{10905}));
  EXPECT_EQ(state.LastNetTry, 10905u);
}

TEST_F(NetworkTimerTest, TickingThroughTheWrapKeepsThe15SecondRhythm) {
  StartAt(4294960000u);
  TickUntil(4294960000u + 40000u);  // wraps to 32704
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{7714, 22724}));
}

TEST_F(NetworkTimerTest, OfflineMakesOneCheckAndOneFetchAttemptEvery15Seconds) {
  StartAt(0);
  TickUntil(100000);
  const std::vector<uint32_t> steps{15010, 30020, 45030, 60040, 75050, 90060};
  EXPECT_EQ(net.checkTimes, steps);
  EXPECT_EQ(net.fetchTimes, steps);
  EXPECT_FALSE(state.UpdateChecked);
  EXPECT_EQ(net.paints, 0);
  EXPECT_TRUE(net.timerEnabled);
}

TEST_F(NetworkTimerTest, CheckStopsAfterItsFirstTrue) {
  StartAt(0);
  int calls = 0;
  net.onCheck = [&] { return ++calls == 2; };
  TickUntil(70000);
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{15010, 30020}));
  EXPECT_EQ(net.fetchTimes, (std::vector<uint32_t>{15010, 30020, 45030, 60040}));
  EXPECT_TRUE(state.UpdateChecked);
}

TEST_F(NetworkTimerTest, AlreadyCheckedProcessOnlyRetriesTheFetch) {
  StartAt(0);
  state.UpdateChecked = true;
  TickUntil(31000);
  EXPECT_TRUE(net.checkTimes.empty());
  EXPECT_EQ(net.fetchTimes, (std::vector<uint32_t>{15010, 30020}));
}

TEST_F(NetworkTimerTest, NextStepCountsFromTheEndOfASlowCheck) {
  StartAt(0);
  net.onCheck = [&] {
    net.now += 3000;  // the manifest download takes three seconds
    return false;
  };
  TickUntil(40000);
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{15010, 33020}));
  EXPECT_EQ(net.fetchTimes, (std::vector<uint32_t>{18010, 36020}));
  EXPECT_EQ(state.LastNetTry, 36020u);
}

TEST_F(NetworkTimerTest, ListArrivingEarlyIsPublishedAndNoCheckEverRuns) {
  StartAt(0);
  TickUntil(60000, [&] {
    if (net.now == 3000) net.loaded = true;
  });
  EXPECT_TRUE(net.checkTimes.empty());
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_EQ(net.disables, 1);
  EXPECT_EQ(net.paints, 1);
  ASSERT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks[1].LinkTitle, "B");
  EXPECT_TRUE(timer.Published());
}

TEST_F(NetworkTimerTest, PublicationHappensExactlyOnceEvenIfTicksKeepComing) {
  StartAt(0);
  net.loaded = true;
  timer.Timer1_Timer();
  // Ticks that were already queued, and a clock far past a step.
  net.now = 50000;
  timer.Timer1_Timer();
  timer.Timer1_Timer();
  EXPECT_EQ(net.disables, 1);
  EXPECT_EQ(net.paints, 1);
  EXPECT_EQ(state.LinkCount, 2);
  EXPECT_TRUE(net.checkTimes.empty());
  EXPECT_TRUE(net.fetchTimes.empty());
}

TEST_F(NetworkTimerTest, ListArrivingAfterRetriesStopsTheTimer) {
  StartAt(0);
  TickUntil(100000, [&] {
    if (net.now == 40000) net.loaded = true;
  });
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{15010, 30020}));
  EXPECT_EQ(net.fetchTimes, (std::vector<uint32_t>{15010, 30020}));
  EXPECT_EQ(net.paints, 1);
  EXPECT_FALSE(net.timerEnabled);
  EXPECT_FALSE(state.UpdateChecked);
}

TEST_F(NetworkTimerTest, ListArrivingDuringTheCheckIsNotFetchedAgain) {
  StartAt(0);
  net.onCheck = [&] {
    net.loaded = true;
    return false;
  };
  TickUntil(15010);
  EXPECT_EQ(net.checkTimes.size(), 1u);
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_EQ(net.paints, 1);
  EXPECT_EQ(state.LinkCount, 2);
}

TEST_F(NetworkTimerTest, TickInsideTheCheckRunsAStepOfItsOwn) {
  StartAt(0);
  int depth = 0;
  net.onCheck = [&] {
    if (depth++ == 0) {
      net.now += 10;  // the check pumps messages and Timer1 ticks
      timer.Timer1_Timer();
    }
    return false;
  };
  TickUntil(15010);
  EXPECT_EQ(net.checkTimes, (std::vector<uint32_t>{15010, 15020}));
  EXPECT_EQ(net.fetchTimes, (std::vector<uint32_t>{15020, 15020}));
  EXPECT_EQ(state.LastNetTry, 15020u);
}

TEST_F(NetworkTimerTest, TickInsideTheCheckPublishesAndTheOuterTickDoesNotAgain) {
  StartAt(0);
  int depth = 0;
  net.onCheck = [&] {
    if (depth++ == 0) {
      net.loaded = true;
      net.now += 10;
      timer.Timer1_Timer();
    }
    return true;
  };
  TickUntil(15010);
  EXPECT_EQ(net.disables, 1);
  EXPECT_EQ(net.paints, 1);
  ASSERT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks.size(), 2u);
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_TRUE(state.UpdateChecked);
}

TEST_F(NetworkTimerTest, WindowUnloadedByTheCheckIsLeftAlone) {
  StartAt(0);
  net.onCheck = [&] {
    net.windowLoaded = false;  // the user accepted the update
    net.loaded = true;
    return true;
  };
  TickUntil(15010);
  EXPECT_EQ(net.checkTimes.size(), 1u);
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_EQ(net.paints, 0);
  EXPECT_EQ(state.LinkCount, 0);
  EXPECT_FALSE(state.UpdateChecked);
  EXPECT_EQ(state.LastNetTry, 0u);
}

TEST(NetworkTimerLifetime, WindowDestroyedByTheCheckIsNotTouched) {
  FakeNetwork net;
  auto state = std::make_unique<CalendarState>();
  auto timer = std::make_unique<NetworkTimer>(*state, net);
  net.now = 15001;
  net.onCheck = [&] {
    // The accepted update releases the window object with its state.
    timer.reset();
    state.reset();
    net.loaded = true;
    return true;
  };
  NetworkTimer* const ticking = timer.get();
  ticking->Timer1_Timer();
  EXPECT_EQ(net.checkTimes.size(), 1u);
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_EQ(net.paints, 0);
  EXPECT_EQ(net.disables, 0);
}

}  // namespace
}  // namespace kelvo
