#include "desktop/win32/settings.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "desktop/win32/module_file.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/registry_key.h"

namespace kelvo {
namespace {

constexpr SettingScope kBothScopes[] = {SettingScope::User, SettingScope::Machine};
constexpr DWORD kStoredTextBufferSize = 260;

void SetLayered(HWND hWnd, bool layered) {
  const LONG style = GetWindowLongA(hWnd, GWL_EXSTYLE);
  SetWindowLongA(hWnd, GWL_EXSTYLE, layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED));
}

void MakeSemiTransparent(HWND hWnd) {
  SetLayered(hWnd, true);
  SetLayeredWindowAttributes(hWnd, 0, kTransparentAlpha, LWA_ALPHA);
}

std::optional<StoredNumber> ReadTransparent(SettingScope scope) {
  const RegistryKey settings = RegistryKey::Open(RootOf(scope), kSettingsKey);
  StoredNumber stored;
  DWORD type = 0, size = sizeof stored.value;
  const LSTATUS read = RegQueryValueExA(settings.Get(), kTransparentValue, nullptr, &type,
                                        reinterpret_cast<BYTE*>(&stored.value), &size);
  // Too big for a number is still a value of this scope, and means off.
  if (read == ERROR_MORE_DATA) return StoredNumber{type, size, 0};
  if (read != ERROR_SUCCESS) return std::nullopt;
  stored.type = type;
  stored.size = size;
  return stored;
}

// GetMenuState answers -1 for an item the menu lacks, which must not count
// as a check mark (it would delete the user's start-up entry).
bool ItemChecked(UINT state) {
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

}  // namespace

HKEY RootOf(SettingScope scope) {
  return scope == SettingScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

void LoadSettings(HWND hWnd, CKelvoMenu& TrayMenu) {
  if (StartUpChecked(AutoRunEntriesNaming(GetExePath()))) {
    TrayMenu.CheckItem(IDM_AUTORUN, MF_CHECKED);
  }
  if (TransparentAtStart(ReadTransparent(SettingScope::User),
                         ReadTransparent(SettingScope::Machine))) {
    MakeSemiTransparent(hWnd);
    TrayMenu.CheckItem(IDM_TRANSPARENT, MF_CHECKED);
  }
}

SettingNotice ToggleTransparent(HWND hWnd, CKelvoMenu& TrayMenu) {
  const bool wasOn = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  const DWORD value = wasOn ? 0 : 1;
  const RegistryKey settings = RegistryKey::Create(HKEY_CURRENT_USER, kSettingsKey);
  const bool stored = settings && RegSetValueExA(settings.Get(), kTransparentValue, 0, REG_DWORD,
                                                 reinterpret_cast<const BYTE*>(&value),
                                                 sizeof value) == ERROR_SUCCESS;
  const LookChoice choice = ChooseLook(wasOn, stored);
  if (choice.on != wasOn) {
    if (choice.on) {
      MakeSemiTransparent(hWnd);
    } else {
      SetLayered(hWnd, false);
    }
  }
  TrayMenu.CheckItem(IDM_TRANSPARENT, choice.on ? MF_CHECKED : MF_UNCHECKED);
  return choice.notice;
}

SettingNotice ToggleAutoRun(CKelvoMenu& TrayMenu) {
  const std::string exePath = GetExePath();
  const bool wantedOn = !ItemChecked(TrayMenu.GetItemState(IDM_AUTORUN));
  if (wantedOn) WriteAutoRunEntry(exePath, SettingScope::User);
  // Read back, so the mark shows what is stored rather than what was asked.
  const StartUpEntries after =
      wantedOn ? AutoRunEntriesNaming(exePath) : RemoveAutoRunEntries(exePath);
  TrayMenu.CheckItem(IDM_AUTORUN, StartUpChecked(after) ? MF_CHECKED : MF_UNCHECKED);
  return StartUpNotice(wantedOn, after);
}

void ShowSettingNotice(HWND owner, SettingNotice notice) {
  if (notice == SettingNotice::None) return;
  const std::wstring text = ToWide(NoticeText(notice));
  MessageBoxW(owner && IsWindow(owner) ? owner : nullptr, text.c_str(), L"Kelvo日历",
              MB_OK | MB_ICONWARNING);
}

bool AutoRunEntryNames(const std::string& exePath, SettingScope scope) {
  const RegistryKey run = RegistryKey::Open(RootOf(scope), kRunKey);
  char buffer[kAutoRunBufferSize];
  std::fill(std::begin(buffer), std::end(buffer), ' ');
  DWORD type = 0;
  DWORD size = kAutoRunBufferSize;
  if (!run || RegQueryValueExA(run.Get(), kAutoRunValue, nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
    return false;
  }
  const std::size_t length = size < kAutoRunBufferSize ? size : kAutoRunBufferSize;
  const auto text = AutoRunEntryText(std::string_view(buffer, length), type);
  // The path as it reads back after being written in the ANSI code page, so
  // a character that code page lacks compares as what was stored for it.
  return text && NamesThisExecutable(FromAnsi(*text), FromAnsi(ToAnsi(exePath)));
}

StartUpEntries AutoRunEntriesNaming(const std::string& exePath) {
  return {AutoRunEntryNames(exePath, SettingScope::User),
          AutoRunEntryNames(exePath, SettingScope::Machine)};
}

bool WriteAutoRunEntry(const std::string& exePath, SettingScope scope) {
  const RegistryKey run = RegistryKey::Create(RootOf(scope), kRunKey);
  const std::string path = ToAnsi(exePath);
  return run && RegSetValueExA(run.Get(), kAutoRunValue, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(path.c_str()),
                               static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS;
}

StartUpEntries RemoveAutoRunEntries(const std::string& exePath) {
  for (const SettingScope scope : kBothScopes) {
    if (!AutoRunEntryNames(exePath, scope)) continue;
    // Only the right to change values: a standard user gets no key of all users.
    const RegistryKey run = RegistryKey::Open(RootOf(scope), kRunKey, KEY_SET_VALUE);
    if (run) RegDeleteValueA(run.Get(), kAutoRunValue);
  }
  return AutoRunEntriesNaming(exePath);
}

std::optional<std::string> ReadSettingText(const char* name) {
  for (const SettingScope scope : kBothScopes) {
    const RegistryKey key = RegistryKey::Open(RootOf(scope), kSettingsKey);
    char data[kStoredTextBufferSize] = {};
    DWORD size = sizeof data;
    if (key && RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                                &size) == ERROR_SUCCESS) {
      return RegistryStringText(std::string_view(data, size));
    }
  }
  return std::nullopt;
}

bool WriteSettingText(const char* name, const std::string& ansiText) {
  const RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, kSettingsKey);
  return key &&
         RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(ansiText.c_str()),
                        static_cast<DWORD>(ansiText.size() + 1)) == ERROR_SUCCESS;
}

std::string GetExePath() {
  return ExePathFromModulePath(RunningModuleFileName());
}

}  // namespace kelvo
