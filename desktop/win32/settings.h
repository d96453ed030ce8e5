#pragma once
#include <windows.h>

#include <string>

#include "desktop/win32/kelvo_menu.h"
#include "desktop/window_messages.h"

namespace kelvo {

// The two stored settings, in HKEY_LOCAL_MACHINE through the ANSI registry
// calls: the semi-transparent look ("SOFTWARE\KelvoCalendar", "Transparent")
// and the start-with-Windows entry ("...\CurrentVersion\Run",
// "KelvoCalendar"). Each shows as a check mark in the tray menu. No result
// is reported: without registry access the look still switches but is not
// stored, and the start-up item cannot be checked.

// At start-up: checks IDM_AUTORUN when the start-up entry names this very
// executable; makes the window semi-transparent and checks IDM_TRANSPARENT
// when "Transparent" is on. Creates both keys when they are missing.
void LoadSettings(HWND hWnd, CKelvoMenu& TrayMenu);
// Switches the look by the window's current style (not the stored value)
// and stores 1 or 0.
void ToggleTransparent(HWND hWnd, CKelvoMenu& TrayMenu);
// Switches the start-up entry by the menu's check mark (not the registry):
// a checked item deletes the entry and is unchecked whatever the deletion
// returned; an unchecked one writes GetExePath() and is checked only if the
// write succeeded.
void ToggleAutoRun(CKelvoMenu& TrayMenu);
// The running executable's path as written to the start-up entry (UTF-8).
std::string GetExePath();

// The start-up entry for a given executable path (UTF-8), read and written
// exactly as the menu command does; the installer uses these for the
// program it installs. AutoRunEntryNames compares without regard to case.
bool AutoRunEntryNames(const std::string& exePath);
// True when the entry was stored.
bool WriteAutoRunEntry(const std::string& exePath);

}  // namespace kelvo
