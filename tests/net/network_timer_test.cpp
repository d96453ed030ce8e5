#include "net/network_timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kelvo {
namespace {

using Times = std::vector<uint32_t>;

// A tick source and recorders for everything the timer drives.
struct FakeNetwork : NetworkTimerHost {
  uint32_t now = 0;
  bool loaded = false, timerEnabled = true, windowLoaded = true;
  Times checks, fetches, holidayFetches, arms;
  int disables = 0, paints = 0;
  std::function<bool()> onCheck = [] { return false; };  // offline

  uint32_t TickCount() override { return now; }
  bool CheckForUpdate() override { return checks.push_back(now), onCheck(); }
  void StartGGFetch() override { fetches.push_back(now); }
  bool GGLoaded() override { return loaded; }
  std::string GGText() override { return "A$U1#B$U2"; }
  void DisableTimer() override { timerEnabled = false, ++disables; }
  void PaintCalendar() override { ++paints; }
  bool WindowLoaded() override { return windowLoaded; }
  void ArmTimer(uint32_t ms) override { arms.push_back(ms); }
  void StartHolidayFetch() override { holidayFetches.push_back(now); }
};

class NetworkTimerTest : public ::testing::Test {
 protected:
  // Start-up ended at `tick`; Timer1 then ticks every 10 ms until `end`
  // (which may lie past the wrap), with an action before each tick.
  void Run(
      uint32_t start, uint32_t end, const std::function<void()>& beforeTick = [] {}) {
    net.now = state.LastNetTry = start;
    while (static_cast<int32_t>(end - net.now) > 0) {
      net.now += 10;
      beforeTick();
      if (net.timerEnabled) timer.Timer1_Timer();
    }
  }
  // The first check lets Timer1 tick once inside it, as its message loop does.
  void TickInsideTheFirstCheck(bool listArrives) {
    net.onCheck = [this, listArrives, depth = 0]() mutable {
      if (depth++ == 0) {
        net.loaded = listArrives;
        net.now += 10;
        timer.Timer1_Timer();
      }
      return listArrives;
    };
  }
  CalendarState state;
  FakeNetwork net;
  NetworkTimer timer{state, net};
};

// Offline: one check and one fetch attempt with the first tick past each
// 15000 ms, indefinitely; exactly 15000 ms is not yet a step.
TEST_F(NetworkTimerTest, StepsComeWithTheFirstTickPast15000Ms) {
  Run(1000, 16000);
  EXPECT_TRUE(net.checks.empty());
  Run(1000, 101000);
  const Times steps{16010, 31020, 46030, 61040, 76050, 91060};
  EXPECT_EQ(net.checks, steps);
  EXPECT_EQ(net.fetches, steps);
  EXPECT_EQ(state.LastNetTry, 91060u);
  EXPECT_FALSE(state.UpdateChecked);
  EXPECT_EQ(net.paints, 0);
  net.checks.clear();  // the tick counter's wrap keeps the rhythm
  Run(4294960000u, 4294960000u + 40000u);
  EXPECT_EQ(net.checks, (Times{7714, 22724}));
}

// Published once, stopping the timer and its steps; a tick already queued
// then fetches nothing more.
TEST_F(NetworkTimerTest, ListAfterRetriesIsPublishedOnceAndEndsTheSteps) {
  Run(0, 100000, [&] { net.loaded = net.now >= 40000; });
  net.now = 200000;
  timer.Timer1_Timer();
  EXPECT_EQ(net.checks, (Times{15010, 30020}));
  EXPECT_EQ(net.fetches, net.checks);
  EXPECT_EQ(net.disables + net.paints, 2);
  ASSERT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks[1].LinkTitle, "B");
}

TEST_F(NetworkTimerTest, TickInsideTheCheckRunsAStepOfItsOwn) {
  TickInsideTheFirstCheck(false);
  Run(0, 15010);
  EXPECT_EQ(net.checks, (Times{15010, 15020}));
  EXPECT_EQ(net.fetches, (Times{15020, 15020}));
  EXPECT_EQ(state.LastNetTry, 15020u);
}

TEST_F(NetworkTimerTest, TickInsideTheCheckPublishesAndTheOuterTickDoesNotAgain) {
  TickInsideTheFirstCheck(true);
  Run(0, 15010);
  EXPECT_EQ(net.disables + net.paints, 2);
  EXPECT_EQ(state.AnnouncementLinks.size(), 2u);
  EXPECT_TRUE(net.fetches.empty());
  EXPECT_TRUE(state.UpdateChecked);
}

// A list within 15 s is published once and no check ever runs. After the
// list: the holiday file at once, then daily; the timer sleeps until the
// next fetch, and a wake-up between fetches starts none.
TEST_F(NetworkTimerTest, HolidayFileIsFetchedAfterTheListThenDaily) {
  Run(0, 3000, [&] { net.loaded = net.now >= 3000; });
  net.now = 50000;
  timer.Timer1_Timer();
  net.now = 3000 + kHolidayFetchInterval;
  timer.Timer1_Timer();
  EXPECT_EQ(net.checks.size() + net.fetches.size(), 0u);
  EXPECT_EQ(net.disables + net.paints, 2);
  EXPECT_EQ(net.holidayFetches, (Times{3000, 3000 + kHolidayFetchInterval}));
  EXPECT_EQ(Times(net.arms.end() - 3, net.arms.end()),
            (Times{kHolidayFetchInterval, kHolidayFetchInterval - 47000, kHolidayFetchInterval}));
}

// An accepted update unloads the window inside the check: the rest of the
// tick leaves the window's state alone.
TEST_F(NetworkTimerTest, WindowUnloadedByTheCheckIsLeftAlone) {
  net.onCheck = [this] { return net.windowLoaded = false, net.loaded = true; };
  Run(0, 15010);
  EXPECT_TRUE(net.fetches.empty());
  EXPECT_EQ(net.paints + state.LinkCount + state.LastNetTry, 0u);
  EXPECT_FALSE(state.UpdateChecked);
}

}  // namespace
}  // namespace kelvo
