#include "update/update_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

using Lines = std::vector<std::string>;

// The parsed commands as "<word> <url> <path>" lines (down has a url, the
// others an empty one), so a whole script compares at once.
Lines Commands(const std::string& manifest, const std::string& appDir) {
  Lines lines;
  for (const ScriptCommand& command : ParseUpdateScript(manifest, appDir)) {
    const char* word = command.kind == ScriptCommand::Kind::Down  ? "down"
                       : command.kind == ScriptCommand::Kind::Del ? "del"
                                                                  : "run";
    lines.push_back(std::string(word) + " " + command.url + " " + command.path);
  }
  return lines;
}

TEST(UpdateScript, CommandsResolvedAgainstTheProgramsFolder) {
  const struct {
    const char* name;
    const char* manifest;
    const char* appDir;
    Lines commands;
  } rows[] = {
      {"example script in a folder",
       "Version:1.0.1\r\n"
       "down|http://h/myapp/KelvoCalendar/KelvoCalendar2.exe|apppath:\r\n"
       "del|apppath:KelvoCalendar.bak\r\n"
       "run|apppath:KelvoCalendar2.exe",
       "C:\\Tools\\",
       {"down http://h/myapp/KelvoCalendar/KelvoCalendar2.exe C:\\Tools\\\\KelvoCalendar2.exe.td",
        "del  C:\\Tools\\KelvoCalendar.bak", "run  C:\\Tools\\KelvoCalendar2.exe"}},
      {"program in a drive root",
       "Version:1.0.1\r\nrun|apppath:x.exe\r\ndown|http://h/x.exe|apppath:",
       "D:\\",
       {"run  D:\\x.exe", "down http://h/x.exe D:\\\\x.exe.td"}},
      {"destination with a trailing backslash gets no second one",
       "v\r\ndown|http://h/a.dll|C:\\Lib\\",
       "C:\\Tools\\",
       {"down http://h/a.dll C:\\Lib\\a.dll.td"}},
      {"marker in any case in every path field",
       "v\r\ndown|http://h/a.exe|APPPATH:sub\r\ndel|AppPath:old.exe\r\nrun|aPpPaTh:a.exe",
       "C:\\Tools\\",
       {"down http://h/a.exe C:\\Tools\\sub\\a.exe.td", "del  C:\\Tools\\old.exe",
        "run  C:\\Tools\\a.exe"}},
      {"command words in upper or mixed case",
       "v\r\nDOWN|http://h/a.exe|apppath:\r\nRun|apppath:a.exe\r\nDeL|x",
       "C:\\T\\",
       {"down http://h/a.exe C:\\T\\\\a.exe.td", "run  C:\\T\\a.exe", "del  x"}},
      {"url without a slash names the file",
       "v\r\ndown|payload.exe|apppath:",
       "C:\\T\\",
       {"down payload.exe C:\\T\\\\payload.exe.td"}},
      {"trailing CR LF adds nothing", "v\r\ndel|apppath:a\r\n", "C:\\T\\", {"del  C:\\T\\a"}},
      {"first line is never a command", "del|apppath:KelvoCalendar.exe", "C:\\T\\", {}},
      {"empty manifest", "", "C:\\T\\", {}},
      {"lines with too few fields are skipped",
       "v\r\ndown|http://h/a.exe\r\ndown\r\ndel\r\nrun\r\ndel|apppath:kept",
       "C:\\T\\",
       {"del  C:\\T\\kept"}},
      {"unknown words and empty lines are ignored",
       "v\r\n\r\ncopy|a|b\r\n|apppath:x\r\n down|http://h/a|c\r\ndel|apppath:y",
       "C:\\T\\",
       {"del  C:\\T\\y"}},
      {"fields are not trimmed", "v\r\ndel| apppath:a ", "C:\\T\\", {"del   C:\\T\\a "}},
      {"non-ASCII paths",
       "v\r\ndel|apppath:日历\\新版.exe",
       "C:\\工具\\",
       {"del  C:\\工具\\日历\\新版.exe"}},
      // Only CR LF ends a line: one del line whose path holds the LF.
      {"line ending in a bare LF", "v\r\ndel|a\nrun|b", "C:\\T\\", {"del  a\nrun"}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Commands(row.manifest, row.appDir), row.commands);
  }
}

// Rounded half to even; no total shows 0; the largest files do not overflow.
TEST(DownloadPercentage, ReceivedOfTotal) {
  EXPECT_EQ(DownloadPercent(16384, 20000), 82);
  EXPECT_EQ(DownloadPercent(8192, 20000), 41);
  EXPECT_EQ(DownloadPercent(20000, 20000), 100);
  EXPECT_EQ(DownloadPercent(1, 8), 12);
  EXPECT_EQ(DownloadPercent(3, 8), 38);
  EXPECT_EQ(DownloadPercent(100, 0), 0);
  EXPECT_EQ(DownloadPercent(2147483647, 2147483647), 100);
  EXPECT_EQ(DownloadPercent(1073741824, 2147483647), 50);
  EXPECT_EQ(LoadingLabelText(16384, 20000), "正在下载更新文件...82%");
  EXPECT_EQ(LoadingLabelText(0, 20000), "正在下载更新文件...0%");
}

// Broken only when a download began and fell short of its length.
TEST(Payload, BrokenWhenShortOfItsAnnouncedLength) {
  EXPECT_FALSE((PayloadTally{20000, 20000}).IsBroken());
  EXPECT_TRUE((PayloadTally{20000, 16384}).IsBroken());
  EXPECT_TRUE((PayloadTally{20000, 0}).IsBroken());
  EXPECT_FALSE((PayloadTally{}).IsBroken());
}

}  // namespace
}  // namespace kelvo
