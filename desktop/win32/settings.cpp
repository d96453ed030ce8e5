#include "desktop/win32/settings.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "desktop/settings_rules.h"
#include "desktop/win32/module_file.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/registry_key.h"

namespace kelvo {
namespace {

void SetLayered(HWND hWnd, bool layered) {
  const LONG style = GetWindowLongA(hWnd, GWL_EXSTYLE);
  SetWindowLongA(hWnd, GWL_EXSTYLE, layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED));
}

void MakeSemiTransparent(HWND hWnd) {
  SetLayered(hWnd, true);
  SetLayeredWindowAttributes(hWnd, 0, kTransparentAlpha, LWA_ALPHA);
}

bool TransparentStoredOn(HKEY settingsKey) {
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(settingsKey, kTransparentValue, nullptr, &type,
                       reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
    return false;
  }
  return TransparentIsOn(type, size, value);
}

// GetMenuState answers -1 for an item the menu lacks, which must not count
// as a check mark (it would delete the user's start-up entry).
bool ItemChecked(UINT state) {
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

}  // namespace

void LoadSettings(HWND hWnd, CKelvoMenu& TrayMenu) {
  if (AutoRunEntryNames(GetExePath())) TrayMenu.CheckItem(IDM_AUTORUN, MF_CHECKED);
  RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey);
  if (TransparentStoredOn(settings.Get())) {
    MakeSemiTransparent(hWnd);
    TrayMenu.CheckItem(IDM_TRANSPARENT, MF_CHECKED);
  }
}

void ToggleTransparent(HWND hWnd, CKelvoMenu& TrayMenu) {
  RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey);
  DWORD value = 0;
  if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) {
    SetLayered(hWnd, false);
    TrayMenu.CheckItem(IDM_TRANSPARENT, MF_UNCHECKED);
  } else {
    MakeSemiTransparent(hWnd);
    TrayMenu.CheckItem(IDM_TRANSPARENT, MF_CHECKED);
    value = 1;
  }
  RegSetValueExA(settings.Get(), kTransparentValue, 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void ToggleAutoRun(CKelvoMenu& TrayMenu) {
  if (ItemChecked(TrayMenu.GetItemState(IDM_AUTORUN))) {
    RegistryKey run = RegistryKey::Create(HKEY_LOCAL_MACHINE, kRunKey);
    RegDeleteValueA(run.Get(), kAutoRunValue);
    TrayMenu.CheckItem(IDM_AUTORUN, MF_UNCHECKED);
    return;
  }
  if (WriteAutoRunEntry(GetExePath())) TrayMenu.CheckItem(IDM_AUTORUN, MF_CHECKED);
}

bool AutoRunEntryNames(const std::string& exePath) {
  RegistryKey run = RegistryKey::Create(HKEY_LOCAL_MACHINE, kRunKey);
  char buffer[kAutoRunBufferSize];
  std::fill(std::begin(buffer), std::end(buffer), ' ');
  DWORD type = 0;
  DWORD size = kAutoRunBufferSize;
  if (RegQueryValueExA(run.Get(), kAutoRunValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                       &size) != ERROR_SUCCESS) {
    return false;
  }
  const std::size_t length = size < kAutoRunBufferSize ? size : kAutoRunBufferSize;
  const auto text = AutoRunEntryText(std::string_view(buffer, length), type);
  // The path as it reads back after being written in the ANSI code page, so
  // a character that code page lacks compares as what was stored for it.
  return text && NamesThisExecutable(FromAnsi(*text), FromAnsi(ToAnsi(exePath)));
}

bool WriteAutoRunEntry(const std::string& exePath) {
  RegistryKey run = RegistryKey::Create(HKEY_LOCAL_MACHINE, kRunKey);
  const std::string path = ToAnsi(exePath);
  return RegSetValueExA(run.Get(), kAutoRunValue, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(path.c_str()),
                        static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS;
}

std::string GetExePath() {
  return ExePathFromModulePath(RunningModuleFileName());
}

}  // namespace kelvo
