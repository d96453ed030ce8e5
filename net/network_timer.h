#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "window/calendar_state.h"

namespace kelvo {

// A network step runs when more than this many milliseconds have passed
// since the last one.
inline constexpr uint32_t kNetStepInterval = 15000;

// Milliseconds from `since` to `now` on the 32-bit tick counter. The counter
// wraps after about 49.7 days; the unsigned difference stays right across it.
constexpr uint32_t TicksSince(uint32_t since, uint32_t now) {
  return now - since;
}

constexpr bool NetStepDue(uint32_t lastNetTry, uint32_t now) {
  return TicksSince(lastNetTry, now) > kNetStepInterval;
}

// Milliseconds from `now` until the next network step is due (at least 1):
// the timer sleeps that long instead of waking every few milliseconds.
constexpr uint32_t TicksUntilNetStep(uint32_t lastNetTry, uint32_t now) {
  const uint32_t elapsed = TicksSince(lastNetTry, now);
  return elapsed > kNetStepInterval ? 1 : kNetStepInterval + 1 - elapsed;
}
static_assert(TicksUntilNetStep(1000, 1000) == 15001 && TicksUntilNetStep(0, 15000) == 1);
static_assert(TicksUntilNetStep(0xFFFFFF00u, 100) == 14645, "across the counter's wrap");

// Once the list is on the face, the holiday file is fetched right away and
// then once per this many milliseconds (a day; well inside the counter's
// 49.7-day wrap).
inline constexpr uint32_t kHolidayFetchInterval = 24 * 60 * 60 * 1000;
static_assert(TicksSince(0xFFFFFC19u, kHolidayFetchInterval - 999) == kHolidayFetchInterval,
              "a day's fetch counted across the counter's wrap");

// What the network timer drives. The Win32 window implements it over
// GetTickCount, the update check, ModGG, Timer1 and the painter; the tests
// implement it with fakes.
class NetworkTimerHost {
 public:
  virtual ~NetworkTimerHost() = default;
  // Milliseconds since system start (wraps at 2^32).
  virtual uint32_t TickCount() = 0;
  // The update check. It may pump messages (so Timer1 can tick again inside
  // it) and, when the user accepts an update, unload the window.
  virtual bool CheckForUpdate() = 0;
  virtual void StartGGFetch() = 0;
  // The fetch thread's loaded flag, read with acquire order.
  virtual bool GGLoaded() = 0;
  // The fetched list decoded with the ANSI code page, as UTF-8. Only asked
  // for after GGLoaded() returned true.
  virtual std::string GGText() = 0;
  // Stops Timer1; only ArmTimer starts it again.
  virtual void DisableTimer() = 0;
  // Starts fetching the holiday file in the background; its arrival wakes
  // the timer by itself.
  virtual void StartHolidayFetch() {}
  // Applies a holiday file that arrived since the last call, if any.
  virtual void TakeArrivedHolidays() {}
  // Sets Timer1 to tick next after `ms` milliseconds. The list's arrival
  // wakes the timer by itself, so between steps nothing needs to poll.
  virtual void ArmTimer(uint32_t /*ms*/) {}
  virtual void PaintCalendar() = 0;
  // False once the window has been unloaded.
  virtual bool WindowLoaded() = 0;
};

// Timer1's handler: on each tick it looks whether a network step is due (the
// update check until it succeeded once, the announcement fetch until the list
// arrived) and publishes the list on the face as soon as it is there; then
// it arms the timer for the next step. After the list it only fetches the
// holiday file, at once and then daily, sleeping in between.
class NetworkTimer {
 public:
  NetworkTimer(CalendarState& state, NetworkTimerHost& host);
  ~NetworkTimer();
  NetworkTimer(const NetworkTimer&) = delete;
  NetworkTimer& operator=(const NetworkTimer&) = delete;

  // One tick. Safe to re-enter from inside the update check.
  void Timer1_Timer();

  // The list has been parsed onto the face; only holiday fetches remain.
  bool Published() const { return published_; }

 private:
  void Publish();
  void HolidayStep();

  CalendarState& state_;
  NetworkTimerHost& host_;
  bool published_ = false;
  uint32_t lastHolidayFetch_ = 0;
  // Set to false when this object goes away. A tick holds a copy across the
  // update check, which can destroy the window and this timer with it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kelvo
