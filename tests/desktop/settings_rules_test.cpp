#include "desktop/settings_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvo {
namespace {

using namespace std::string_literals;

TEST(ExePath, FolderGetsOneBackslashBeforeTheName) {
  EXPECT_EQ(ExePathFromModulePath("C:\\Program Files\\Kelvo\\KelvoCalendar.exe"),
            "C:\\Program Files\\Kelvo\\KelvoCalendar.exe");
}

TEST(ExePath, DriveRootGetsASingleBackslash) {
  EXPECT_EQ(ExePathFromModulePath("D:\\KelvoCalendar.exe"), "D:\\KelvoCalendar.exe");
  EXPECT_EQ(ExePathFromParts("D:\\", "KelvoCalendar"), "D:\\KelvoCalendar.exe");
}

TEST(ExePath, FolderWithoutTrailingBackslashGetsOne) {
  EXPECT_EQ(ExePathFromParts("C:\\Tools", "KelvoCalendar"), "C:\\Tools\\KelvoCalendar.exe");
}

TEST(ExePath, ExtensionIsAlwaysLowerCaseExe) {
  EXPECT_EQ(ExePathFromModulePath("C:\\Tools\\KelvoCalendar.EXE"), "C:\\Tools\\KelvoCalendar.exe");
}

TEST(ExePath, OnlyTheLastExtensionIsReplaced) {
  EXPECT_EQ(ExePathFromModulePath("C:\\v1.2\\Kelvo.Calendar.exe"), "C:\\v1.2\\Kelvo.Calendar.exe");
}

TEST(ExePath, NameWithoutExtensionGetsExe) {
  EXPECT_EQ(ExePathFromModulePath("C:\\v1.2\\KelvoCalendar"), "C:\\v1.2\\KelvoCalendar.exe");
}

TEST(ExePath, ChineseFolderIsKept) {
  EXPECT_EQ(ExePathFromModulePath("C:\\日历\\KelvoCalendar.exe"), "C:\\日历\\KelvoCalendar.exe");
}

TEST(ExePath, NetworkShareKeepsItsPrefix) {
  EXPECT_EQ(ExePathFromModulePath("\\\\server\\share\\KelvoCalendar.exe"),
            "\\\\server\\share\\KelvoCalendar.exe");
}

TEST(ExePath, BareFileNameGetsNoBackslash) {
  EXPECT_EQ(ExePathFromModulePath("KelvoCalendar.exe"), "KelvoCalendar.exe");
}

TEST(AutoRunEntry, TextIsCutAtItsFirstNul) {
  const std::string bytes = "C:\\K.exe\0junk after"s;
  EXPECT_EQ(AutoRunEntryText(bytes, kRegSz), "C:\\K.exe");
}

TEST(AutoRunEntry, FullBufferWithoutNulIsTakenWhole) {
  const std::string bytes(260, 'a');
  EXPECT_EQ(AutoRunEntryText(bytes, kRegSz), std::string(260, 'a'));
}

TEST(AutoRunEntry, NeverReadsPastTheBuffer) {
  const std::string bytes(300, 'b');
  EXPECT_EQ(AutoRunEntryText(bytes, kRegSz), std::string(260, 'b'));
}

TEST(AutoRunEntry, TextStoredWithoutNulEndsWithTheReportedData) {
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe", kRegSz), "C:\\K.exe");
}

TEST(AutoRunEntry, ExpandableTextCountsAsText) {
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe\0"s, kRegExpandSz), "C:\\K.exe");
}

TEST(AutoRunEntry, NumberNamesNoProgram) {
  EXPECT_EQ(AutoRunEntryText("\x01\x00\x00\x00"s, kRegDword), std::nullopt);
}

TEST(AutoRunEntry, BinaryDataNamesNoProgram) {
  EXPECT_EQ(AutoRunEntryText("C:\\K.exe\0"s, 3), std::nullopt);
}

TEST(AutoRunEntry, EmptyTextIsEmpty) {
  EXPECT_EQ(AutoRunEntryText(""s, kRegSz), "");
  EXPECT_EQ(AutoRunEntryText("\0"s, kRegSz), "");
}

TEST(PathComparison, IgnoresAsciiCase) {
  EXPECT_TRUE(NamesThisExecutable("c:\\TOOLS\\kelvocalendar.EXE", "C:\\Tools\\KelvoCalendar.exe"));
}

TEST(PathComparison, DifferentFolderIsAnotherProgram) {
  EXPECT_FALSE(NamesThisExecutable("C:\\Old\\KelvoCalendar.exe", "C:\\Tools\\KelvoCalendar.exe"));
}

TEST(PathComparison, QuotedPathIsNotThisExecutable) {
  EXPECT_FALSE(
      NamesThisExecutable("\"C:\\Tools\\KelvoCalendar.exe\"", "C:\\Tools\\KelvoCalendar.exe"));
}

TEST(PathComparison, ChineseCharactersCompareExactly) {
  EXPECT_TRUE(NamesThisExecutable("C:\\日历\\K.exe", "c:\\日历\\k.exe"));
  EXPECT_FALSE(NamesThisExecutable("C:\\日历\\K.exe", "C:\\月历\\K.exe"));
}

TEST(PathComparison, FoldsGreekCyrillicAndFullWidthLetters) {
  EXPECT_EQ(PathCaseFold("ΑΩ ДЯЁ ＡＺ ÀÞ"), "αω дяё ａｚ àþ");
  EXPECT_TRUE(NamesThisExecutable("C:\\ПАПКА\\K.exe", "C:\\папка\\K.exe"));
}

TEST(PathComparison, KeepsCharactersWithoutCase) {
  EXPECT_EQ(PathCaseFold("×÷ 1_2 日"), "×÷ 1_2 日");
}

TEST(PathComparison, MalformedBytesCompareAsThemselves) {
  EXPECT_EQ(PathCaseFold("A\xFF\xC3"s), "a\xFF\xC3"s);
  EXPECT_FALSE(NamesThisExecutable("\xFF"s, "\xFE"s));
}

TEST(Transparent, FourByteNonZeroNumberIsOn) {
  EXPECT_TRUE(TransparentIsOn(kRegDword, 4, 1));
  EXPECT_TRUE(TransparentIsOn(kRegDword, 4, 2));
  EXPECT_TRUE(TransparentIsOn(kRegDword, 4, 0xFFFFFFFFu));
}

TEST(Transparent, ZeroIsOff) {
  EXPECT_FALSE(TransparentIsOn(kRegDword, 4, 0));
}

TEST(Transparent, TextIsOffEvenWhenItsBytesAreNotZero) {
  EXPECT_FALSE(TransparentIsOn(kRegSz, 2, 0x0031));
}

TEST(Transparent, NumberOfAnotherWidthIsOff) {
  EXPECT_FALSE(TransparentIsOn(kRegDword, 2, 1));
  EXPECT_FALSE(TransparentIsOn(3, 2, 1));
  EXPECT_FALSE(TransparentIsOn(11, 8, 1));
}

}  // namespace
}  // namespace kelvo
