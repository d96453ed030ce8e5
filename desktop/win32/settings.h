#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "desktop/settings_rules.h"
#include "desktop/win32/kelvo_menu.h"
#include "desktop/window_messages.h"

namespace kelvo {

// The stored settings, through the ANSI registry calls: the semi-transparent
// look ("SOFTWARE\KelvoCalendar", "Transparent") and the start-with-Windows
// entry ("...\CurrentVersion\Run", "KelvoCalendar"). Each shows as a check
// mark in the tray menu. They are written below HKEY_CURRENT_USER only; the
// machine-wide keys are read where the user has no value of their own, and
// an entry of all users is deleted only where this user may. A check mark
// shows what is stored; a choice that could not be stored is answered with
// a notice for the user.

enum class SettingScope { User, Machine };
HKEY RootOf(SettingScope scope);

// At start-up: checks IDM_AUTORUN when a start-up entry names this very
// executable; makes the window semi-transparent and checks IDM_TRANSPARENT
// when "Transparent" is on. Creates nothing.
void LoadSettings(HWND hWnd, CKelvoMenu& TrayMenu);
// Switches the look by the window's current style (not the stored value)
// once 1 or 0 is stored; when it cannot be stored the look stays.
SettingNotice ToggleTransparent(HWND hWnd, CKelvoMenu& TrayMenu);
// Switches the start-up entry by the menu's check mark (not the registry):
// a checked item removes every entry naming this executable that it may,
// an unchecked one writes GetExePath() for this user. The mark then shows
// what is stored.
SettingNotice ToggleAutoRun(CKelvoMenu& TrayMenu);
// The notice in a one-line message box owned by `owner`; nothing for None.
void ShowSettingNotice(HWND owner, SettingNotice notice);
// The running executable's path as written to the start-up entry (UTF-8).
std::string GetExePath();

// The start-up entry for a given executable path (UTF-8), read and written
// exactly as the menu command does; the installer uses these for the
// program it installs. Paths compare without regard to case.
bool AutoRunEntryNames(const std::string& exePath, SettingScope scope);
StartUpEntries AutoRunEntriesNaming(const std::string& exePath);
// True when the entry was stored.
bool WriteAutoRunEntry(const std::string& exePath, SettingScope scope);
// Deletes every entry naming exePath that may be deleted; returns those left.
StartUpEntries RemoveAutoRunEntries(const std::string& exePath);

// A text value of the settings key: the user's own, else the machine-wide
// one; up to its first NUL. Written for the user only; true when stored.
std::optional<std::string> ReadSettingText(const char* name);
bool WriteSettingText(const char* name, const std::string& ansiText);

}  // namespace kelvo
