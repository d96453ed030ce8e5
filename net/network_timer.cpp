#include "net/network_timer.h"

#include "net/announcements.h"

namespace kelvo {

NetworkTimer::NetworkTimer(CalendarState& state, NetworkTimerHost& host)
    : state_(state), host_(host) {}

NetworkTimer::~NetworkTimer() {
  *alive_ = false;
}

void NetworkTimer::Timer1_Timer() {
  if (published_) return HolidayStep();

  if (NetStepDue(state_.LastNetTry, host_.TickCount())) {
    if (!state_.UpdateChecked) {
      // LastNetTry moves only at the end of the step, so ticks that arrive
      // while the check pumps messages run steps of their own; the check
      // itself makes sure the user is asked at most once.
      const std::shared_ptr<bool> alive = alive_;
      const bool checked = host_.CheckForUpdate();
      // An accepted update unloaded the window from inside the check:
      // nothing of it may be touched any more.
      if (!*alive || !host_.WindowLoaded()) return;
      if (checked) state_.UpdateChecked = true;
    }
    if (!host_.GGLoaded()) host_.StartGGFetch();
    state_.LastNetTry = host_.TickCount();
  }

  // A tick nested in the update check may have published already.
  if (!published_ && host_.GGLoaded()) Publish();
  if (!published_) host_.ArmTimer(TicksUntilNetStep(state_.LastNetTry, host_.TickCount()));
}

void NetworkTimer::Publish() {
  published_ = true;
  host_.DisableTimer();
  ParseGGList(state_, host_.GGText());
  host_.PaintCalendar();
  host_.StartHolidayFetch();
  lastHolidayFetch_ = host_.TickCount();
  host_.ArmTimer(kHolidayFetchInterval);
}

// Woken by an arrived holiday file or by the day's fetch coming due; a tick
// still queued behind the publication only sleeps again.
void NetworkTimer::HolidayStep() {
  host_.TakeArrivedHolidays();
  const uint32_t now = host_.TickCount();
  if (TicksSince(lastHolidayFetch_, now) >= kHolidayFetchInterval) {
    host_.StartHolidayFetch();
    lastHolidayFetch_ = now;
  }
  host_.ArmTimer(kHolidayFetchInterval - TicksSince(lastHolidayFetch_, now));
}

}  // namespace kelvo
