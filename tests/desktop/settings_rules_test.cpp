#include "desktop/settings_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kelvo {
namespace {

using namespace std::string_literals;

// The start-up entry names the folder, one backslash, the name and ".exe"
// in lower case, whatever the folder holds or the extension was.
TEST(ExePath, FolderOneBackslashNameAndLowerCaseExe) {
  EXPECT_EQ(ExePathFromModulePath("C:\\Tools\\KelvoCalendar.EXE"), "C:\\Tools\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\v1.2\\Kelvo.Calendar.exe"), "C:\\v1.2\\Kelvo.Calendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\v1.2\\KelvoCalendar"), "C:\\v1.2\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\日历\\K.exe"), "C:\\日历\\K.exe");
  EXPECT_EQ(ExePathFromModulePath("\\\\server\\share\\K.exe"), "\\\\server\\share\\K.exe");
  EXPECT_EQ(ExePathFromParts("D:\\", "KelvoCalendar"), "D:\\KelvoCalendar.exe");
}

// Letter case is ignored (ASCII, Latin-1, Greek, Cyrillic, full width);
// anything else, quotes and malformed bytes included, compares exactly.
TEST(PathComparison, IgnoresLetterCaseOnly) {
  EXPECT_TRUE(NamesThisExecutable("c:\\ПАПКА\\ΑΩ\\ＡＺ\\ÀÞ.EXE", "C:\\папка\\αω\\ａｚ\\àþ.exe"));
  EXPECT_FALSE(NamesThisExecutable("C:\\日历\\K.exe", "C:\\月历\\K.exe"));
  EXPECT_FALSE(NamesThisExecutable("\"C:\\K.exe\"", "C:\\K.exe"));
  EXPECT_FALSE(NamesThisExecutable("C:\\×\\K.exe", "C:\\÷\\K.exe"));
  EXPECT_FALSE(NamesThisExecutable("\xFF"s, "\xFE"s));
  EXPECT_EQ(PathCaseFold("A\xFF\xC3"s), "a\xFF\xC3"s);
}

// A refused write changes nothing but says so; an entry of all users left
// behind is the administrator's. (The user's own value, 0 included,
// outranking the machine's is registry_value_fuzzer's invariant.)
TEST(StoredSettings, UserValueFirstAndCheckMarksShowWhatIsStored) {
  EXPECT_EQ(ChooseLook(true, true).on, false);
  EXPECT_EQ(ChooseLook(true, false).on, true);
  EXPECT_EQ(ChooseLook(true, false).notice, SettingNotice::LookNotStored);
  const std::tuple<bool, bool, bool, SettingNotice> rows[] = {
      {true, true, false, SettingNotice::None},
      {true, false, false, SettingNotice::StartUpNotStored},
      {false, false, false, SettingNotice::None},
      {false, true, true, SettingNotice::StartUpNotRemoved},
      {false, false, true, SettingNotice::AdminMustRemove}};
  for (const auto& [wantedOn, user, machine, notice] : rows)
    EXPECT_EQ(StartUpNotice(wantedOn, {user, machine}), notice);
}

}  // namespace
}  // namespace kelvo
