// The stored settings against Wine's real registry (a throw-away prefix),
// with a real window and a real tray menu.
#include "desktop/win32/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/win32/platform_text.h"
#include "tests/support/registry_snapshot.h"

namespace kelvo {
namespace {

using namespace std::string_literals;
using testing::DeleteValue;
using testing::ReadValue;
using testing::StoredValue;
using testing::WriteValue;

constexpr const char* kSettings = "SOFTWARE\\KelvoCalendar";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

DWORD ValueCount(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return values;
}

void WriteDword(const char* path, const char* name, DWORD value) {
  ASSERT_TRUE(
      WriteValue(path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4)));
}

std::string ThisModulePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return FromWide(path);
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each case starts like a first run; the snapshots put back what the
    // prefix had.
    DeleteValue(kRun, "KelvoCalendar");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettings);

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelvoSettingsTestWindow";
    RegisterClassW(&wc);
    hWnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"KelvoSettingsTestWindow", L"", WS_POPUP, 0, 0, 100,
                           100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    menu.InsertItem(100, "隐藏日历", MFT_STRING);
    menu.InsertItem(IDM_TRANSPARENT, "半透明显示(&T)", MFT_STRING);
    menu.InsertItem(IDM_AUTORUN, "开机启动", MFT_STRING);
    menu.InsertItem(0, "", MFT_SEPARATOR);
    menu.InsertItem(103, "退出程序(&X)", MFT_STRING);
  }
  void TearDown() override { DestroyWindow(hWnd); }

  bool Layered() const { return (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
  UINT Check(UINT id) const { return menu.GetItemState(id) & MF_CHECKED; }

  testing::ValueSnapshot savedRun{kRun, "KelvoCalendar"};
  testing::KeySnapshot savedSettings{kSettings};
  HWND hWnd = nullptr;
  CKelvoMenu menu;
};

TEST_F(SettingsTest, ExePathIsTheRunningModuleWithExeExtension) {
  const std::string path = GetExePath();
  EXPECT_EQ(path, ThisModulePath());
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  EXPECT_EQ(path[1], ':');
}

TEST_F(SettingsTest, FirstRunCreatesTheEmptySettingsKeyAndLeavesBothItemsUnchecked) {
  ASSERT_FALSE(KeyExists(kSettings));
  LoadSettings(hWnd, menu);
  EXPECT_TRUE(KeyExists(kSettings));
  EXPECT_EQ(ValueCount(kSettings), 0u);
  EXPECT_FALSE(Layered());
  EXPECT_EQ(Check(IDM_TRANSPARENT), 0u);
  EXPECT_EQ(Check(IDM_AUTORUN), 0u);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
}

TEST_F(SettingsTest, TransparentStoredAsTwoMakesTheWindowLayeredAtAlpha200) {
  WriteDword(kSettings, "Transparent", 2);
  LoadSettings(hWnd, menu);
  EXPECT_TRUE(Layered());
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hWnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  EXPECT_EQ(Check(IDM_TRANSPARENT), static_cast<UINT>(MF_CHECKED));
}

TEST_F(SettingsTest, TogglingTheLookTwiceReturnsToOpaqueAndStoresZero) {
  LoadSettings(hWnd, menu);
  ToggleTransparent(hWnd, menu);
  EXPECT_TRUE(Layered());
  EXPECT_EQ(Check(IDM_TRANSPARENT), static_cast<UINT>(MF_CHECKED));
  StoredValue stored = ReadValue(kSettings, "Transparent");
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored.data, "\x01\x00\x00\x00"s);

  ToggleTransparent(hWnd, menu);
  EXPECT_FALSE(Layered());
  EXPECT_EQ(Check(IDM_TRANSPARENT), 0u);
  stored = ReadValue(kSettings, "Transparent");
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored.data, "\x00\x00\x00\x00"s);
}

TEST_F(SettingsTest, TheWindowStyleNotTheStoredValueDecidesTheToggle) {
  WriteDword(kSettings, "Transparent", 1);  // stored on, window still opaque
  ToggleTransparent(hWnd, menu);
  EXPECT_TRUE(Layered());
  EXPECT_EQ(ReadValue(kSettings, "Transparent").data, "\x01\x00\x00\x00"s);
}

TEST_F(SettingsTest, LookSwitchedOnAgainKeepsAlpha200) {
  ToggleTransparent(hWnd, menu);
  ToggleTransparent(hWnd, menu);
  ToggleTransparent(hWnd, menu);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hWnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
}

// The start-up entry checks the item only when it names this executable
// (letter case aside, its NUL optional); another path, a number, a text
// filling the read buffer without a NUL or too long for it does not.
TEST_F(SettingsTest, StartUpEntryNamingThisExecutableChecksTheItem) {
  const std::string path = ToAnsi(GetExePath());
  std::string upper = path;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  ASSERT_NE(upper, path);
  const DWORD one = 1;
  const struct {
    const char* name;
    DWORD type;
    std::string data;
    UINT check;
  } rows[] = {{"this executable", REG_SZ, path + '\0', MF_CHECKED},
              {"differing only in case", REG_SZ, upper + '\0', MF_CHECKED},
              {"without its NUL", REG_SZ, path, MF_CHECKED},
              {"another place", REG_SZ, "C:\\Old Place\\KelvoCalendar.exe\0"s, 0},
              {"a number", REG_DWORD, std::string(reinterpret_cast<const char*>(&one), 4), 0},
              {"260 bytes without NUL", REG_SZ, std::string(260, 'x'), 0},
              {"longer than the buffer", REG_SZ, std::string(400, 'y') + '\0', 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(WriteValue(kRun, "KelvoCalendar", row.type, row.data));
    menu.CheckItem(IDM_AUTORUN, MF_UNCHECKED);  // as a fresh menu is
    LoadSettings(hWnd, menu);
    EXPECT_EQ(Check(IDM_AUTORUN), row.check);
  }
}

// An entry for another place or of the wrong type is overwritten with this
// executable's path and one terminating NUL.
TEST_F(SettingsTest, ChoosingAnUncheckedStartUpItemOverwritesTheEntry) {
  const DWORD one = 1;
  for (const auto& [type, data] :
       {std::pair<DWORD, std::string>{REG_SZ, "C:\\Old Place\\KelvoCalendar.exe\0"s},
        {REG_DWORD, std::string(reinterpret_cast<const char*>(&one), 4)}}) {
    SCOPED_TRACE(type);
    WriteValue(kRun, "KelvoCalendar", type, data);
    menu.CheckItem(IDM_AUTORUN, MF_UNCHECKED);  // as a fresh menu is
    LoadSettings(hWnd, menu);
    ASSERT_EQ(Check(IDM_AUTORUN), 0u);
    ToggleAutoRun(menu);
    EXPECT_EQ(Check(IDM_AUTORUN), static_cast<UINT>(MF_CHECKED));
    const StoredValue stored = ReadValue(kRun, "KelvoCalendar");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.data, ToAnsi(GetExePath()) + '\0');
  }
}

TEST_F(SettingsTest, ChoosingACheckedStartUpItemDeletesTheEntry) {
  ToggleAutoRun(menu);
  ASSERT_TRUE(ReadValue(kRun, "KelvoCalendar").exists);
  ToggleAutoRun(menu);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
  EXPECT_EQ(Check(IDM_AUTORUN), 0u);
}

TEST_F(SettingsTest, TheMenuNotTheRegistryDecidesTheStartUpToggle) {
  menu.CheckItem(IDM_AUTORUN, MF_CHECKED);  // checked, but nothing stored
  ToggleAutoRun(menu);
  EXPECT_EQ(Check(IDM_AUTORUN), 0u);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
}

TEST_F(SettingsTest, StartUpToggleOnAMenuWithoutTheItemDeletesNothing) {
  WriteValue(kRun, "KelvoCalendar", REG_SZ, "C:\\Other\\Program.exe\0"s);
  CKelvoMenu empty;
  ToggleAutoRun(empty);
  // The missing item reads as -1, which is no check mark: the toggle writes.
  EXPECT_EQ(ReadValue(kRun, "KelvoCalendar").data, ToAnsi(GetExePath()) + '\0');
}

// Zero, a text, or a number of the wrong length: the look stays opaque.
TEST_F(SettingsTest, TransparentStoredAsZeroOrWrongTypeOrLengthIsOff) {
  const struct {
    DWORD type;
    std::string data;
  } rows[] = {{REG_DWORD, "\x00\x00\x00\x00"s},
              {REG_SZ, "1\0"s},
              {REG_BINARY, "\x01\x01"s},
              {REG_QWORD, "\x01\x00\x00\x00\x00\x00\x00\x00"s}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    ASSERT_TRUE(WriteValue(kSettings, "Transparent", row.type, row.data));
    LoadSettings(hWnd, menu);
    EXPECT_FALSE(Layered());
    EXPECT_EQ(Check(IDM_TRANSPARENT), 0u);
  }
}

}  // namespace
}  // namespace kelvo
