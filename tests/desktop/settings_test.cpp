// The stored settings against Wine's real registry (a throw-away prefix),
// with a real window and a real tray menu.
#include "desktop/win32/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "desktop/win32/platform_text.h"
#include "tests/support/registry_snapshot.h"

namespace kelvo {
namespace {

using namespace std::string_literals;
using testing::ReadValue;
using testing::WriteValue;

constexpr const char* kSettings = "SOFTWARE\\KelvoCalendar";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kOne = "\x01\x00\x00\x00"s;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();  // each case starts like a first run
    hWnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    for (UINT id : {IDM_TRANSPARENT, IDM_AUTORUN}) menu.InsertItem(id, "item", MFT_STRING);
  }
  void TearDown() override {
    testing::DeleteValue(kRun, "KelvoCalendar");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettings);
    if (hWnd) DestroyWindow(hWnd);
  }

  bool Layered() const { return (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
  BYTE Alpha() const {
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(hWnd, nullptr, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    return alpha;
  }
  UINT Check(UINT id) const { return menu.GetItemState(id) & MF_CHECKED; }
  void Load() {
    menu.CheckItem(IDM_AUTORUN, MF_UNCHECKED);  // as a fresh menu is
    menu.CheckItem(IDM_TRANSPARENT, MF_UNCHECKED);
    LoadSettings(hWnd, menu);
  }
  std::string ThisExeEntry() const { return ToAnsi(GetExePath()) + '\0'; }

  HWND hWnd = nullptr;
  CKelvoMenu menu;
};

// Only a four-byte non-zero number turns the look on, at alpha 200; none
// (a first run), zero, text, or a number of another width leave it opaque.
TEST_F(SettingsTest, StoredTransparentValueDecidesTheLook) {
  const std::tuple<DWORD, std::string, bool> rows[] = {{REG_DWORD, "\x02\x00\x00\x00"s, true},
                                                       {REG_DWORD, "\x00\x00\x00\x00"s, false},
                                                       {REG_SZ, "1\0"s, false},
                                                       {REG_BINARY, "\x01\x01"s, false},
                                                       {REG_DWORD, "\x01\x00"s, false},
                                                       {REG_QWORD, kOne + "\0\0\0\0"s, false}};
  Load();
  EXPECT_FALSE(Layered());
  EXPECT_EQ(Check(IDM_TRANSPARENT) | Check(IDM_AUTORUN), 0u);
  EXPECT_FALSE(ReadValue(kRun, "KelvoCalendar").exists);
  for (const auto& [type, data, on] : rows) {
    SCOPED_TRACE(type);
    SetWindowLongA(hWnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    ASSERT_TRUE(WriteValue(kSettings, "Transparent", type, data));
    Load();
    EXPECT_EQ(Layered(), on);
    EXPECT_EQ(Check(IDM_TRANSPARENT), on ? static_cast<UINT>(MF_CHECKED) : 0u);
    if (on) {
      EXPECT_EQ(Alpha(), 200);
    }
  }
}

// The window's style, not the stored value, decides; each choice stores 1 or 0.
TEST_F(SettingsTest, TogglingTheLookFollowsTheWindowAndStoresTheChoice) {
  WriteValue(kSettings, "Transparent", REG_DWORD, kOne);  // stored on, window still opaque
  for (bool on : {true, false, true}) {
    ToggleTransparent(hWnd, menu);
    EXPECT_EQ(Layered(), on);
    EXPECT_EQ(Check(IDM_TRANSPARENT), on ? static_cast<UINT>(MF_CHECKED) : 0u);
    const testing::StoredValue stored = ReadValue(kSettings, "Transparent");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored.data, on ? kOne : "\0\0\0\0"s);
  }
  EXPECT_EQ(Alpha(), 200);
}

// The start-up entry checks the item only when it names this executable
// (letter case aside, its NUL optional); another path, a number, a text
// filling the read buffer without a NUL or too long for it does not.
TEST_F(SettingsTest, StartUpEntryNamingThisExecutableChecksTheItem) {
  const std::string path = ToAnsi(GetExePath());
  std::string upper = path;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  ASSERT_NE(upper, path);
  const std::tuple<DWORD, std::string, UINT> rows[] = {
      {REG_SZ, path + '\0', MF_CHECKED},
      {REG_SZ, upper + '\0', MF_CHECKED},
      {REG_SZ, path, MF_CHECKED},
      {REG_SZ, "C:\\Old Place\\KelvoCalendar.exe\0"s, 0},
      {REG_DWORD, kOne, 0},
      {REG_SZ, std::string(260, 'x'), 0},
      {REG_SZ, std::string(400, 'y') + '\0', 0}};
  for (const auto& [type, data, check] : rows) {
    SCOPED_TRACE(data);
    ASSERT_TRUE(WriteValue(kRun, "KelvoCalendar", type, data));
    Load();
    EXPECT_EQ(Check(IDM_AUTORUN), check);
  }
}

// Unchecked: an entry for another place or of the wrong type is overwritten
// with this executable's path and one NUL. Checked: the entry goes. The
// menu, not the registry, decides.
TEST_F(SettingsTest, ChoosingTheStartUpItemWritesOrDeletesTheEntry) {
  for (const auto& [type, data] : {std::pair{DWORD{REG_SZ}, "C:\\Old\\KelvoCalendar.exe\0"s},
                                   std::pair{DWORD{REG_DWORD}, kOne}}) {
    WriteValue(kRun, "KelvoCalendar", type, data);
    Load();
    ASSERT_EQ(Check(IDM_AUTORUN), 0u);
    ToggleAutoRun(menu);
    EXPECT_EQ(Check(IDM_AUTORUN), static_cast<UINT>(MF_CHECKED));
    const testing::StoredValue stored = ReadValue(kRun, "KelvoCalendar");
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
}

}  // namespace
}  // namespace kelvo
