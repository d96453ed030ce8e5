#include "net/network_timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvo {
namespace {

using Times = std::vector<uint32_t>;

// A tick source and recorders for everything the timer drives.
class FakeNetwork : public NetworkTimerHost {
 public:
  uint32_t now = 0;
  bool loaded = false;
  bool timerEnabled = true;
  bool windowLoaded = true;
  Times checkTimes, fetchTimes;
  int disables = 0, paints = 0;
  // What CheckForUpdate does; false (offline) unless replaced.
  std::function<bool()> onCheck = [] { return false; };

  uint32_t TickCount() override { return now; }
  bool CheckForUpdate() override {
    checkTimes.push_back(now);
    return onCheck();
  }
  void StartGGFetch() override { fetchTimes.push_back(now); }
  bool GGLoaded() override { return loaded; }
  std::string GGText() override { return "A$U1#B$U2"; }
  void DisableTimer() override {
    timerEnabled = false;
    ++disables;
  }
  void PaintCalendar() override { ++paints; }
  bool WindowLoaded() override { return windowLoaded; }
};

class NetworkTimerTest : public ::testing::Test {
 protected:
  // Start-up ended at `tick`, which LastNetTry holds.
  void StartAt(uint32_t tick) { net.now = state.LastNetTry = tick; }
  // Timer1 ticking every 10 ms until the clock reaches `end` (which may lie
  // past the wrap), with an optional action before each tick.
  void TickUntil(uint32_t end, const std::function<void()>& beforeTick = {}) {
    while (static_cast<int32_t>(end - net.now) > 0) {
      net.now += 10;
      if (beforeTick) beforeTick();
      if (net.timerEnabled) timer.Timer1_Timer();
    }
  }
  // A check that lets Timer1 tick once inside it, as its message loop does.
  void TickInsideTheFirstCheck(const std::function<void()>& beforeInnerTick, bool result) {
    net.onCheck = [this, beforeInnerTick, result, depth = 0]() mutable {
      if (depth++ == 0) {
        beforeInnerTick();
        net.now += 10;
        timer.Timer1_Timer();
      }
      return result;
    };
  }

  // The list is published once and stops the timer, whose steps end.
  void ExpectPublishedOnceWhenTheListArrivesAt(uint32_t arrival, const Times& steps) {
    StartAt(0);
    TickUntil(100000, [&] { net.loaded = net.now >= arrival; });
    net.now = 200000;
    timer.Timer1_Timer();  // a tick already queued when the timer stopped
    EXPECT_EQ(net.checkTimes, steps);
    EXPECT_EQ(net.fetchTimes, steps);
    EXPECT_EQ(net.disables, 1);
    EXPECT_EQ(net.paints, 1);
    ASSERT_EQ(state.LinkCount, 2);
    EXPECT_EQ(state.AnnouncementLinks[1].LinkTitle, "B");
  }

  CalendarState state;
  FakeNetwork net;
  NetworkTimer timer{state, net};
};

TEST_F(NetworkTimerTest, FirstStepComesWithTheFirstTickPast15000Ms) {
  StartAt(1000);
  TickUntil(16000);
  EXPECT_TRUE(net.checkTimes.empty()) << "exactly 15000 ms is not yet a step";
  TickUntil(16010);
  EXPECT_EQ(net.checkTimes, Times{16010});
  EXPECT_EQ(net.fetchTimes, Times{16010});
  EXPECT_EQ(state.LastNetTry, 16010u);
}

TEST_F(NetworkTimerTest, TickingThroughTheWrapKeepsThe15SecondRhythm) {
  StartAt(4294960000u);
  TickUntil(4294960000u + 40000u);
  EXPECT_EQ(net.checkTimes, (Times{7714, 22724}));
}

TEST_F(NetworkTimerTest, OfflineMakesOneCheckAndOneFetchAttemptEvery15Seconds) {
  StartAt(0);
  TickUntil(100000);
  const Times steps{15010, 30020, 45030, 60040, 75050, 90060};
  EXPECT_EQ(net.checkTimes, steps);
  EXPECT_EQ(net.fetchTimes, steps);
  EXPECT_FALSE(state.UpdateChecked);
  EXPECT_EQ(net.paints, 0);
  EXPECT_TRUE(net.timerEnabled);
}

TEST_F(NetworkTimerTest, AfterTheFirstSuccessfulCheckStepsOnlyRetryTheFetch) {
  StartAt(0);
  int calls = 0;
  net.onCheck = [&] { return ++calls == 2; };
  TickUntil(70000);
  EXPECT_EQ(net.checkTimes, (Times{15010, 30020}));
  EXPECT_EQ(net.fetchTimes, (Times{15010, 30020, 45030, 60040}));
  EXPECT_TRUE(state.UpdateChecked);
}

TEST_F(NetworkTimerTest, ListWithin15SecondsIsPublishedOnceAndNoCheckEverRuns) {
  ExpectPublishedOnceWhenTheListArrivesAt(3000, {});
}

TEST_F(NetworkTimerTest, ListAfterRetriesIsPublishedOnceAndEndsTheSteps) {
  ExpectPublishedOnceWhenTheListArrivesAt(40000, {15010, 30020});
}

TEST_F(NetworkTimerTest, TickInsideTheCheckRunsAStepOfItsOwn) {
  StartAt(0);
  TickInsideTheFirstCheck([] {}, false);
  TickUntil(15010);
  EXPECT_EQ(net.checkTimes, (Times{15010, 15020}));
  EXPECT_EQ(net.fetchTimes, (Times{15020, 15020}));
  EXPECT_EQ(state.LastNetTry, 15020u);
}

TEST_F(NetworkTimerTest, TickInsideTheCheckPublishesAndTheOuterTickDoesNotAgain) {
  StartAt(0);
  TickInsideTheFirstCheck([this] { net.loaded = true; }, true);
  TickUntil(15010);
  EXPECT_EQ(net.disables, 1);
  EXPECT_EQ(net.paints, 1);
  EXPECT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks.size(), 2u);
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_TRUE(state.UpdateChecked);
}

// An accepted update unloads the window inside the check: the rest of the
// tick leaves the window's state alone, also when the window object is gone.
TEST_F(NetworkTimerTest, WindowUnloadedByTheCheckIsLeftAlone) {
  StartAt(0);
  net.onCheck = [&] {
    net.windowLoaded = false;
    net.loaded = true;
    return true;
  };
  TickUntil(15010);
  EXPECT_TRUE(net.fetchTimes.empty());
  EXPECT_EQ(net.paints, 0);
  EXPECT_EQ(state.LinkCount, 0);
  EXPECT_FALSE(state.UpdateChecked);
  EXPECT_EQ(state.LastNetTry, 0u);

  FakeNetwork host;
  auto ownState = std::make_unique<CalendarState>();
  auto ownTimer = std::make_unique<NetworkTimer>(*ownState, host);
  host.now = 15001;
  host.onCheck = [&] {
    ownTimer.reset();
    ownState.reset();
    host.loaded = true;
    return true;
  };
  NetworkTimer* const ticking = ownTimer.get();
  ticking->Timer1_Timer();
  EXPECT_TRUE(host.fetchTimes.empty());
  EXPECT_EQ(host.paints + host.disables, 0);
}

}  // namespace
}  // namespace kelvo
