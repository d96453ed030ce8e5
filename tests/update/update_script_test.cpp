#include "update/update_script.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

using Kind = ScriptCommand::Kind;

void ExpectCommand(const ScriptCommand& command, Kind kind, const std::string& url,
                   const std::string& path) {
  EXPECT_EQ(command.kind, kind);
  EXPECT_EQ(command.url, url);
  EXPECT_EQ(command.path, path);
}

TEST(ManifestLines, SplitOnlyAtCrLf) {
  EXPECT_EQ(SplitManifestLines("a\r\nb\r\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitManifestLines("a\nb\rc"), (std::vector<std::string>{"a\nb\rc"}));
  EXPECT_EQ(SplitManifestLines("a\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(SplitManifestLines(""), (std::vector<std::string>{""}));
}

TEST(ScriptFields, SplitAtEveryBarWithoutTrimming) {
  EXPECT_EQ(SplitScriptFields("down| u |apppath:"),
            (std::vector<std::string>{"down", " u ", "apppath:"}));
  EXPECT_EQ(SplitScriptFields("del||"), (std::vector<std::string>{"del", "", ""}));
  EXPECT_EQ(SplitScriptFields("run"), (std::vector<std::string>{"run"}));
}

TEST(ScriptFields, EmptyLineHasNoFields) {
  EXPECT_TRUE(SplitScriptFields("").empty());
}

TEST(AppDir, GetsExactlyOneTrailingBackslash) {
  EXPECT_EQ(AppDirFromDirectory("C:\\Tools"), "C:\\Tools\\");
  EXPECT_EQ(AppDirFromDirectory("D:\\"), "D:\\");
}

TEST(AppPathMarker, ReplacedInAnyLetterCase) {
  EXPECT_EQ(ReplaceAppPath("apppath:x.exe", "C:\\Tools\\"), "C:\\Tools\\x.exe");
  EXPECT_EQ(ReplaceAppPath("APPPATH:x.exe", "C:\\Tools\\"), "C:\\Tools\\x.exe");
  EXPECT_EQ(ReplaceAppPath("AppPath:x.exe", "C:\\Tools\\"), "C:\\Tools\\x.exe");
}

TEST(AppPathMarker, EveryOccurrenceIsReplaced) {
  EXPECT_EQ(ReplaceAppPath("apppath:a\\APPPATH:b", "E:\\"), "E:\\a\\E:\\b");
}

TEST(AppPathMarker, PathWithoutMarkerIsUnchanged) {
  EXPECT_EQ(ReplaceAppPath("old\\KelvoCalendar.bak", "C:\\Tools\\"), "old\\KelvoCalendar.bak");
  EXPECT_EQ(ReplaceAppPath("apppath", "C:\\Tools\\"), "apppath");
  EXPECT_EQ(ReplaceAppPath("", "C:\\Tools\\"), "");
}

TEST(AppPathMarker, LeavesChineseTextAlone) {
  EXPECT_EQ(ReplaceAppPath("apppath:日历\\新版.exe", "C:\\工具\\"), "C:\\工具\\日历\\新版.exe");
}

TEST(UrlFileName, IsThePartAfterTheLastSlash) {
  EXPECT_EQ(FileNameFromUrl("http://h/myapp/KelvoCalendar2.exe"), "KelvoCalendar2.exe");
  EXPECT_EQ(FileNameFromUrl("http://h/dir/"), "");
}

TEST(UrlFileName, UrlWithoutSlashIsTheWholeName) {
  EXPECT_EQ(FileNameFromUrl("KelvoCalendar2.exe"), "KelvoCalendar2.exe");
}

TEST(RunLine, ParameterNamesTheOldExecutableUnquoted) {
  EXPECT_EQ(RunParameter("C:\\Tools\\", "KelvoCalendar"), "del C:\\Tools\\KelvoCalendar.exe");
  EXPECT_EQ(RunParameter("C:\\Program Files\\Kelvo\\", "KelvoCalendar"),
            "del C:\\Program Files\\Kelvo\\KelvoCalendar.exe");
}

TEST(UpdateScript, ExampleScriptInAFolder) {
  const auto commands = ParseUpdateScript(
      "Version:1.0.1\r\n"
      "down|http://h/myapp/KelvoCalendar/KelvoCalendar2.exe|apppath:\r\n"
      "del|apppath:KelvoCalendar.bak\r\n"
      "run|apppath:KelvoCalendar2.exe",
      "C:\\Tools\\");
  ASSERT_EQ(commands.size(), 3u);
  ExpectCommand(commands[0], Kind::Down, "http://h/myapp/KelvoCalendar/KelvoCalendar2.exe",
                "C:\\Tools\\\\KelvoCalendar2.exe.td");
  ExpectCommand(commands[1], Kind::Del, "", "C:\\Tools\\KelvoCalendar.bak");
  ExpectCommand(commands[2], Kind::Run, "", "C:\\Tools\\KelvoCalendar2.exe");
}

TEST(UpdateScript, ProgramInADriveRoot) {
  const auto commands = ParseUpdateScript(
      "Version:1.0.1\r\nrun|apppath:x.exe\r\ndown|http://h/x.exe|apppath:", "D:\\");
  ASSERT_EQ(commands.size(), 2u);
  ExpectCommand(commands[0], Kind::Run, "", "D:\\x.exe");
  ExpectCommand(commands[1], Kind::Down, "http://h/x.exe", "D:\\\\x.exe.td");
}

TEST(UpdateScript, DestinationWithTrailingBackslashGetsNoSecondOne) {
  const auto commands = ParseUpdateScript("v\r\ndown|http://h/a.dll|C:\\Lib\\", "C:\\Tools\\");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].path, "C:\\Lib\\a.dll.td");
}

TEST(UpdateScript, MarkerInAnyCaseInEveryPathField) {
  const auto commands = ParseUpdateScript(
      "v\r\ndown|http://h/a.exe|APPPATH:sub\r\ndel|AppPath:old.exe\r\nrun|aPpPaTh:a.exe",
      "C:\\Tools\\");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].path, "C:\\Tools\\sub\\a.exe.td");
  EXPECT_EQ(commands[1].path, "C:\\Tools\\old.exe");
  EXPECT_EQ(commands[2].path, "C:\\Tools\\a.exe");
}

TEST(UpdateScript, CommandWordsInUpperOrMixedCase) {
  const auto commands = ParseUpdateScript(
      "v\r\nDOWN|http://h/a.exe|apppath:\r\nRun|apppath:a.exe\r\nDeL|x", "C:\\T\\");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].kind, Kind::Down);
  EXPECT_EQ(commands[1].kind, Kind::Run);
  EXPECT_EQ(commands[2].kind, Kind::Del);
}

TEST(UpdateScript, UrlWithoutSlashNamesTheFile) {
  const auto commands = ParseUpdateScript("v\r\ndown|payload.exe|apppath:", "C:\\T\\");
  ASSERT_EQ(commands.size(), 1u);
  ExpectCommand(commands[0], Kind::Down, "payload.exe", "C:\\T\\\\payload.exe.td");
}

TEST(UpdateScript, TrailingCrLfAddsNothing) {
  const auto commands = ParseUpdateScript("v\r\ndel|apppath:a\r\n", "C:\\T\\");
  ASSERT_EQ(commands.size(), 1u);
  ExpectCommand(commands[0], Kind::Del, "", "C:\\T\\a");
}

TEST(UpdateScript, FirstLineIsNeverACommand) {
  EXPECT_TRUE(ParseUpdateScript("del|apppath:KelvoCalendar.exe", "C:\\T\\").empty());
  EXPECT_TRUE(ParseUpdateScript("", "C:\\T\\").empty());
}

TEST(UpdateScript, LinesWithTooFewFieldsAreSkipped) {
  const auto commands = ParseUpdateScript(
      "v\r\ndown|http://h/a.exe\r\ndown\r\ndel\r\nrun\r\ndel|apppath:kept", "C:\\T\\");
  ASSERT_EQ(commands.size(), 1u);
  ExpectCommand(commands[0], Kind::Del, "", "C:\\T\\kept");
}

TEST(UpdateScript, UnknownWordsAndEmptyLinesAreIgnored) {
  const auto commands = ParseUpdateScript(
      "v\r\n\r\ncopy|a|b\r\n|apppath:x\r\n down|http://h/a|c\r\ndel|apppath:y", "C:\\T\\");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].path, "C:\\T\\y");
}

TEST(UpdateScript, FieldsAreNotTrimmed) {
  const auto commands = ParseUpdateScript("v\r\ndel| apppath:a ", "C:\\T\\");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].path, " C:\\T\\a ");
}

TEST(UpdateScript, LinesEndingInBareLfStayOneLine) {
  // Only CR LF ends a line: "del|a\nrun|b" is one del line whose path holds
  // the LF and the rest.
  const auto commands = ParseUpdateScript("v\r\ndel|a\nrun|b", "C:\\T\\");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].kind, Kind::Del);
  EXPECT_EQ(commands[0].path, "a\nrun");
}

TEST(RoundingHalfToEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfToEven(12.5), 12.0);
  EXPECT_EQ(RoundHalfToEven(13.5), 14.0);
  EXPECT_EQ(RoundHalfToEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfToEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfToEven(81.92), 82.0);
  EXPECT_EQ(RoundHalfToEven(40.96), 41.0);
  EXPECT_EQ(RoundHalfToEven(222.0032), 222.0);
}

TEST(DownloadPercentage, ExamplesFromAFile) {
  EXPECT_EQ(DownloadPercent(16384, 20000), 82);
  EXPECT_EQ(DownloadPercent(8192, 20000), 41);
  EXPECT_EQ(DownloadPercent(20000, 20000), 100);
  EXPECT_EQ(DownloadPercent(1, 8), 12);
  EXPECT_EQ(DownloadPercent(3, 8), 38);
}

TEST(DownloadPercentage, NoTotalShowsZero) {
  EXPECT_EQ(DownloadPercent(100, 0), 0);
  EXPECT_EQ(DownloadPercent(100, -1), 0);
}

TEST(DownloadPercentage, LargeFilesDoNotOverflow) {
  EXPECT_EQ(DownloadPercent(2147483647, 2147483647), 100);
  EXPECT_EQ(DownloadPercent(1073741824, 2147483647), 50);
}

TEST(DownloadLabel, ShowsThePercentAfterTheText) {
  EXPECT_EQ(LoadingLabelText(16384, 20000), "正在下载更新文件...82%");
  EXPECT_EQ(LoadingLabelText(0, 20000), "正在下载更新文件...0%");
}

TEST(Payload, CompleteWhenAllAnnouncedBytesArrived) {
  EXPECT_FALSE((PayloadTally{20000, 20000}).IsBroken());
}

TEST(Payload, BrokenWhenShortOfItsLength) {
  EXPECT_TRUE((PayloadTally{20000, 16384}).IsBroken());
  EXPECT_TRUE((PayloadTally{20000, 0}).IsBroken());
}

TEST(Payload, NothingToJudgeWhenNoDownloadBegan) {
  EXPECT_FALSE((PayloadTally{}).IsBroken());
}

}  // namespace
}  // namespace kelvo
