// The stored settings against Wine's real registry (a throw-away prefix),
// with a real window and a real tray menu. Keys made read-only stand for
// what a standard user may not write.
#include "desktop/win32/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "desktop/win32/platform_text.h"
#include "tests/support/wine_testing.h"

namespace kelvo {
namespace {

using namespace std::string_literals;
using namespace test;

const HKEY kUser = HKEY_CURRENT_USER, kMachine = HKEY_LOCAL_MACHINE;

constexpr const char* kSettings = "SOFTWARE\\KelvoCalendar";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kOne = "\x01\x00\x00\x00"s;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Forget();  // each case starts like a first run
    hWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr,
                           nullptr);
    for (UINT id : {IDM_TRANSPARENT, IDM_AUTORUN}) menu.InsertItem(id, "item", MFT_STRING);
  }
  void TearDown() override {
    Forget();
    DestroyWindow(hWnd);
  }
  static void Forget() {
    for (HKEY root : {kUser, kMachine}) {
      DeleteValue(kRun, "KelvoCalendar", root);
      RegDeleteTreeA(root, kSettings);
    }
  }
  // Alpha of the layered look, 255 while opaque.
  int Alpha() const {
    BYTE alpha = 255;
    DWORD flags = LWA_ALPHA;
    if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) {
      EXPECT_TRUE(GetLayeredWindowAttributes(hWnd, nullptr, &alpha, &flags));
    }
    return flags == LWA_ALPHA ? alpha : -1;
  }
  UINT Check(UINT id) const { return menu.GetItemState(id) & MF_CHECKED; }
  std::string ThisExeEntry() const { return ToAnsi(GetExePath()) + '\0'; }

  HWND hWnd = nullptr;
  CKelvoMenu menu;
};

// Only a four-byte non-zero number turns the look on, at alpha 200. Only an
// entry naming this executable (letter case aside, its NUL optional) checks
// the start-up item. Nothing stored (a first run), zero, text, a number of
// another width, another path, a text filling the read buffer without a NUL
// or too long for it: opaque and unchecked. A value of all users (an
// earlier version's, an administrator's) counts where the user has none.
TEST_F(SettingsTest, StoredValuesDecideTheLookAndTheCheckMarks) {
  const std::string path = ToAnsi(GetExePath());
  std::string upper = path;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  ASSERT_NE(upper, path);
  const std::tuple<UINT, DWORD, std::string, bool, HKEY> rows[] = {
      {IDM_TRANSPARENT, REG_DWORD, kOne, true, kMachine},
      {IDM_AUTORUN, REG_SZ, path + '\0', true, kMachine},
      {IDM_TRANSPARENT, REG_DWORD, "\x02\x00\x00\x00"s, true, kUser},
      {IDM_TRANSPARENT, REG_DWORD, "\x00\x00\x00\x00"s, false, kUser},
      {IDM_TRANSPARENT, REG_SZ, "1\0"s, false, kUser},
      {IDM_TRANSPARENT, REG_BINARY, "\x01\x01"s, false, kUser},
      {IDM_TRANSPARENT, REG_DWORD, "\x01\x00"s, false, kUser},
      {IDM_TRANSPARENT, REG_QWORD, kOne + "\0\0\0\0"s, false, kUser},
      {IDM_AUTORUN, REG_SZ, path + '\0', true, kUser},
      {IDM_AUTORUN, REG_SZ, upper + '\0', true, kUser},
      {IDM_AUTORUN, REG_SZ, path, true, kUser},
      {IDM_AUTORUN, REG_SZ, "C:\\Old Place\\KelvoCalendar.exe\0"s, false, kUser},
      {IDM_AUTORUN, REG_DWORD, kOne, false, kUser},
      {IDM_AUTORUN, REG_SZ, std::string(260, 'x'), false, kUser},
      {IDM_AUTORUN, REG_SZ, std::string(400, 'y') + '\0', false, kUser}};
  LoadSettings(hWnd, menu);
  EXPECT_EQ(Check(IDM_TRANSPARENT) | Check(IDM_AUTORUN), 0u);
  EXPECT_EQ(Alpha(), 255);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
  for (const auto& [item, type, data, on, root] : rows) {
    SCOPED_TRACE(data);
    Forget();
    SetWindowLongA(hWnd, GWL_EXSTYLE, 0);
    const bool autoRun = item == IDM_AUTORUN;
    ASSERT_TRUE(WriteValue(autoRun ? kRun : kSettings, autoRun ? "KelvoCalendar" : "Transparent",
                           type, data, root));
    menu.CheckItem(item, MF_UNCHECKED);  // as a fresh menu is
    LoadSettings(hWnd, menu);
    EXPECT_EQ(Check(item), on ? static_cast<UINT>(MF_CHECKED) : 0u);
    EXPECT_EQ(Alpha(), on && !autoRun ? 200 : 255);
  }
}

// The window's style, not the stored value, decides; each choice stores 1
// or 0 for the user. A choice that cannot be stored changes nothing and
// says so; nothing is ever written for all users.
TEST_F(SettingsTest, TogglingTheLookFollowsTheWindowAndStoresTheChoice) {
  WriteValue(kSettings, "Transparent", REG_DWORD, kOne);  // stored on, window still opaque
  for (bool on : {true, false, true}) {
    EXPECT_EQ(ToggleTransparent(hWnd, menu), SettingNotice::None);
    EXPECT_EQ(Alpha(), on ? 200 : 255);
    EXPECT_EQ(Check(IDM_TRANSPARENT), on ? static_cast<UINT>(MF_CHECKED) : 0u);
    const StoredValue stored = ReadValue(kSettings, "Transparent");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored.data, on ? kOne : "\0\0\0\0"s);
  }
  EXPECT_FALSE(ReadValue(kSettings, "Transparent", kMachine).exists);
  const ReadOnlyKey refused{kUser, kSettings};
  EXPECT_EQ(ToggleTransparent(hWnd, menu), SettingNotice::LookNotStored);
  EXPECT_EQ(Alpha(), 200);
  EXPECT_EQ(Check(IDM_TRANSPARENT), static_cast<UINT>(MF_CHECKED));
}

// Unchecked: an entry for another place or of the wrong type is overwritten
// with this executable's path and one NUL, for this user. Checked: the
// entry goes. The menu, not the registry, decides.
TEST_F(SettingsTest, ChoosingTheStartUpItemWritesOrDeletesTheEntry) {
  for (const auto& [type, data] : {std::pair{DWORD{REG_SZ}, "C:\\Old\\KelvoCalendar.exe\0"s},
                                   std::pair{DWORD{REG_DWORD}, kOne}}) {
    WriteValue(kRun, "KelvoCalendar", type, data);
    LoadSettings(hWnd, menu);
    ASSERT_EQ(Check(IDM_AUTORUN), 0u);
    EXPECT_EQ(ToggleAutoRun(menu), SettingNotice::None);
    EXPECT_EQ(Check(IDM_AUTORUN), static_cast<UINT>(MF_CHECKED));
    const StoredValue stored = ReadValue(kRun, "KelvoCalendar");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.data, ThisExeEntry());
    ToggleAutoRun(menu);
    EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
    EXPECT_EQ(Check(IDM_AUTORUN), 0u);
  }
  menu.CheckItem(IDM_AUTORUN, MF_CHECKED);  // checked, but nothing stored
  ToggleAutoRun(menu);
  EXPECT_EQ(Check(IDM_AUTORUN), 0u);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
  // A menu without the item answers -1 for its state, which is no check
  // mark: the user's entry is overwritten, never deleted.
  WriteValue(kRun, "KelvoCalendar", REG_SZ, "C:\\Other\\Program.exe\0"s);
  CKelvoMenu empty;
  ToggleAutoRun(empty);
  EXPECT_EQ(ReadValue(kRun, "KelvoCalendar").data, ThisExeEntry());
  // Off removes the entry wherever it may: one of all users that this user
  // may not delete stays checked and is the administrator's. An entry the
  // user may not write stays unchecked.
  WriteValue(kRun, "KelvoCalendar", REG_SZ, ThisExeEntry(), kMachine);
  LoadSettings(hWnd, menu);
  {
    const ReadOnlyKey machine{kMachine, kRun};
    EXPECT_EQ(ToggleAutoRun(menu), SettingNotice::AdminMustRemove);
    EXPECT_EQ(Check(IDM_AUTORUN), static_cast<UINT>(MF_CHECKED));
    EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
  }
  EXPECT_EQ(ToggleAutoRun(menu), SettingNotice::None);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar", kMachine).exists);
  const ReadOnlyKey user{kUser, kRun};
  EXPECT_EQ(ToggleAutoRun(menu), SettingNotice::StartUpNotStored);
  EXPECT_EQ(Check(IDM_AUTORUN), 0u);
}

}  // namespace
}  // namespace kelvo
