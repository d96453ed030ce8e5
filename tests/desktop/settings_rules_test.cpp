#include "desktop/settings_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvo {
namespace {

using namespace std::string_literals;

// The folder with one backslash, the name, and ".exe" for its last
// extension (or none), whatever the folder holds.
TEST(ExePath, FolderOneBackslashNameAndLowerCaseExe) {
  EXPECT_EQ(ExePathFromModulePath("C:\\Program Files\\Kelvo\\KelvoCalendar.exe"),
            "C:\\Program Files\\Kelvo\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("D:\\KelvoCalendar.exe"), "D:\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromParts("D:\\", "KelvoCalendar"), "D:\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromParts("C:\\Tools", "KelvoCalendar"), "C:\\Tools\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\Tools\\KelvoCalendar.EXE"), "C:\\Tools\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\v1.2\\Kelvo.Calendar.exe"), "C:\\v1.2\\Kelvo.Calendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\v1.2\\KelvoCalendar"), "C:\\v1.2\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("C:\\日历\\KelvoCalendar.exe"), "C:\\日历\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("\\\\server\\share\\KelvoCalendar.exe"),
            "\\\\server\\share\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromModulePath("KelvoCalendar.exe"), "KelvoCalendar.exe");
}

// Text (plain or expandable) up to its first NUL, never past the 260-byte
// buffer; numbers and binary data name no program.
TEST(AutoRunEntry, TextUpToItsFirstNulWithinTheBuffer) {
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe\0junk after"s, kRegSz), "C:\\K.exe");
  EXPECT_EQ(AutoRunEntryText(std::string(260, 'a'), kRegSz), std::string(260, 'a'));
  EXPECT_EQ(AutoRunEntryText(std::string(300, 'b'), kRegSz), std::string(260, 'b'));
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe", kRegSz), "C:\\K.exe");
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe\0"s, kRegExpandSz), "C:\\K.exe");
  EXPECT_EQ(AutoRunEntryText("\x01\x00\x00\x00"s, kRegDword), std::nullopt);
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe\0"s, 3), std::nullopt);
  EXPECT_EQ(AutoRunEntryText(""s, kRegSz), "");
  EXPECT_EQ(AutoRunEntryText("\0"s, kRegSz), "");
}

// Letter case is ignored (ASCII, Latin-1, Greek, Cyrillic, full width);
// anything else, quotes and malformed bytes included, compares exactly.
TEST(PathComparison, IgnoresLetterCaseOnly) {
  EXPECT_TRUE(NamesThisExecutable("c:\\TOOLS\\kelvocalendar.EXE", "C:\\Tools\\KelvoCalendar.exe"));
  EXPECT_FALSE(NamesThisExecutable("C:\\Old\\KelvoCalendar.exe", "C:\\Tools\\KelvoCalendar.exe"));
  EXPECT_FALSE(
      NamesThisExecutable("\"C:\\Tools\\KelvoCalendar.exe\"", "C:\\Tools\\KelvoCalendar.exe"));
  EXPECT_TRUE(NamesThisExecutable("C:\\日历\\K.exe", "c:\\日历\\k.exe"));
  EXPECT_FALSE(NamesThisExecutable("C:\\日历\\K.exe", "C:\\月历\\K.exe"));
  EXPECT_EQ(PathCaseFold("ΑΩ ДЯЁ ＡＺ ÀÞ"), "αω дяё ａｚ àþ");
  EXPECT_TRUE(NamesThisExecutable("C:\\ПАПКА\\K.exe", "C:\\папка\\K.exe"));
  EXPECT_EQ(PathCaseFold("×÷ 1_2 日"), "×÷ 1_2 日");
  EXPECT_EQ(PathCaseFold("A\xFF\xC3"s), "a\xFF\xC3"s);
  EXPECT_FALSE(NamesThisExecutable("\xFF"s, "\xFE"s));
}

// Only a four-byte non-zero number is on; text or another width is off.
TEST(Transparent, OnlyAFourByteNonZeroNumberIsOn) {
  EXPECT_TRUE(TransparentIsOn(kRegDword, 4, 1));
  EXPECT_TRUE(TransparentIsOn(kRegDword, 4, 2));
  EXPECT_TRUE(TransparentIsOn(kRegDword, 4, 0xFFFFFFFFu));
  EXPECT_FALSE(TransparentIsOn(kRegDword, 4, 0));
  EXPECT_FALSE(TransparentIsOn(kRegSz, 2, 0x0031));
  EXPECT_FALSE(TransparentIsOn(kRegDword, 2, 1));
  EXPECT_FALSE(TransparentIsOn(3, 2, 1));
  EXPECT_FALSE(TransparentIsOn(11, 8, 1));
}

}  // namespace
}  // namespace kelvo
