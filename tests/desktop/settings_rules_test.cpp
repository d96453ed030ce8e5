#include "desktop/settings_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvo {
namespace {

using namespace std::string_literals;

// The start-up entry names the folder, one backslash, the name and ".exe"
// in lower case, whatever the folder holds or the extension was.
TEST(ExePath, FolderOneBackslashNameAndLowerCaseExe) {
  const std::pair<std::string, std::string> rows[] = {
      {"C:\\Program Files\\Kelvo\\KelvoCalendar.exe",
       "C:\\Program Files\\Kelvo\\KelvoCalendar.exe"},
      {"D:\\KelvoCalendar.exe", "D:\\KelvoCalendar.exe"},
      {"C:\\Tools\\KelvoCalendar.EXE", "C:\\Tools\\KelvoCalendar.exe"},
      {"C:\\v1.2\\Kelvo.Calendar.exe", "C:\\v1.2\\Kelvo.Calendar.exe"},
      {"C:\\v1.2\\KelvoCalendar", "C:\\v1.2\\KelvoCalendar.exe"},
      {"C:\\日历\\KelvoCalendar.exe", "C:\\日历\\KelvoCalendar.exe"},
      {"\\\\server\\share\\KelvoCalendar.exe", "\\\\server\\share\\KelvoCalendar.exe"},
      {"KelvoCalendar.exe", "KelvoCalendar.exe"}};
  for (const auto& [module, exe] : rows) EXPECT_EQ(ExePathFromModulePath(module), exe) << module;
  EXPECT_EQ(ExePathFromParts("D:\\", "KelvoCalendar"), "D:\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromParts("C:\\Tools", "KelvoCalendar"), "C:\\Tools\\KelvoCalendar.exe");
}

// Letter case is ignored (ASCII, Latin-1, Greek, Cyrillic, full width);
// anything else, quotes and malformed bytes included, compares exactly.
TEST(PathComparison, IgnoresLetterCaseOnly) {
  const struct {
    std::string stored, exe;
    bool same;
  } rows[] = {{"c:\\TOOLS\\kelvocalendar.EXE", "C:\\Tools\\KelvoCalendar.exe", true},
              {"C:\\Old\\KelvoCalendar.exe", "C:\\Tools\\KelvoCalendar.exe", false},
              {"\"C:\\Tools\\K.exe\"", "C:\\Tools\\K.exe", false},
              {"C:\\日历\\K.exe", "c:\\日历\\k.exe", true},
              {"C:\\日历\\K.exe", "C:\\月历\\K.exe", false},
              {"C:\\ПАПКА\\ΑΩ\\ＡＺ\\ÀÞ.exe", "C:\\папка\\αω\\ａｚ\\àþ.exe", true},
              {"C:\\×\\K.exe", "C:\\÷\\K.exe", false},
              {"\xFF"s, "\xFE"s, false}};
  for (const auto& row : rows)
    EXPECT_EQ(NamesThisExecutable(row.stored, row.exe), row.same) << row.stored;
  EXPECT_EQ(PathCaseFold("A\xFF\xC3"s), "a\xFF\xC3"s);
}

}  // namespace
}  // namespace kelvo
