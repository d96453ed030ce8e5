#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace kelvo {

// ModMain: the update check.

// Unloads the calendar window (its shutdown, then the window is destroyed,
// timer and all). Called at most once, when the user accepted an update;
// after it returns nothing in the update touches the calendar again.
using CalendarUnloader = std::function<void()>;

// What the check needs of the calendar window it runs in.
struct UpdateCalendar {
  // Owner of the question box: disabled while the question is open.
  HWND Window = nullptr;
  CalendarUnloader Unload;
  // Brings the calendar back when an accepted update failed (a download
  // failed, or the update form could not be created); the update form is
  // closed by then.
  std::function<void()> Restore;
};

// Fetches update.txt from the update server and, when it names another
// version and the user was not asked within 15 days, asks whether to update
// now. On Yes: calls unloadCalendar, shows UpdateFrm and runs the script;
// returns once the script has run. True whenever a non-empty manifest
// arrived, whatever the answer; false when offline or nothing arrived.
// A caller inside the calendar window's own handler must not touch the
// window after a call that unloaded it (see UpdateWasAccepted).
// In a build with the maker's key only a greater version is offered, and a
// manifest that offers none returns false, so the next network step checks
// again. A manifest is only offered when IsAcceptableManifest holds for the
// program's folder; any other is "no new version". When this user may not
// write that folder (a per-machine install run without administrator
// rights), nothing is begun: the user is told that an administrator must
// install the update, and the calendar stays. The date of the last question
// is kept for the user (NoUpdateDate), read from the machine's settings
// where the user has none.
bool CheckForUpdate(const CalendarUnloader& unloadCalendar);
bool CheckForUpdate(const UpdateCalendar& calendar);

// The same against a given server host ("host" or "host:port").
bool CheckForUpdateOn(const std::string& host, const CalendarUnloader& unloadCalendar);
bool CheckForUpdateOn(const std::string& host, const UpdateCalendar& calendar);

// True once a check in this process has unloaded the calendar for an update.
bool UpdateWasAccepted();

}  // namespace kelvo
