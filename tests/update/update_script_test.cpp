#include "update/update_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

using Lines = std::vector<std::string>;

// The parsed commands as "<word> <url> <path>" lines, so a whole script
// compares at once.
Lines Commands(const std::string& manifest, const std::string& appDir) {
  Lines lines;
  for (const ScriptCommand& c : ParseUpdateScript(manifest, appDir)) {
    const char* word = c.kind == ScriptCommand::Kind::Down  ? "down"
                       : c.kind == ScriptCommand::Kind::Del ? "del"
                                                            : "run";
    lines.push_back(std::string(word) + " " + c.url + " " + c.path);
  }
  return lines;
}

// The first line is the version; only CR LF ends a line; words and the
// "apppath:" marker in any case; a down line's file is named after the URL's
// last part; fields are not trimmed; empty, unknown and short lines are left out.
TEST(UpdateScript, CommandsResolvedAgainstTheProgramsFolder) {
  const struct {
    const char* manifest;
    const char* appDir;
    Lines commands;
  } rows[] = {
      {"Version:1.0.1\r\ndown|http://h/myapp/KelvoCalendar2.exe|apppath:\r\n"
       "del|apppath:KelvoCalendar.bak\r\nrun|apppath:KelvoCalendar2.exe",
       "C:\\Tools\\",
       {"down http://h/myapp/KelvoCalendar2.exe C:\\Tools\\\\KelvoCalendar2.exe.td",
        "del  C:\\Tools\\KelvoCalendar.bak", "run  C:\\Tools\\KelvoCalendar2.exe"}},
      {"v\r\nDOWN|http://h/a.dll|C:\\Lib\\\r\nDown|payload.exe|APPPATH:sub\r\n"
       "Run|aPpPaTh:a.exe\r\nDeL|AppPath:old.exe",
       "C:\\T\\",
       {"down http://h/a.dll C:\\Lib\\a.dll.td", "down payload.exe C:\\T\\sub\\payload.exe.td",
        "run  C:\\T\\a.exe", "del  C:\\T\\old.exe"}},
      {"v\r\n\r\ncopy|a|b\r\n|apppath:x\r\n down|http://h/a|c\r\ndown|http://h/a.exe\r\n"
       "down\r\ndel\r\nrun\r\ndel| apppath:日历\\新版.exe \r\n",
       "C:\\工具\\",
       {"del   C:\\工具\\日历\\新版.exe "}},
      {"v\r\ndel|a\nrun|b", "C:\\T\\", {"del  a\nrun"}},
      {"del|apppath:KelvoCalendar.exe", "C:\\T\\", {}},
      {"", "C:\\T\\", {}}};
  for (const auto& row : rows)
    EXPECT_EQ(Commands(row.manifest, row.appDir), row.commands) << row.manifest;
}

// Per file, rounded half to even; no total shows 0; no overflow.
TEST(DownloadPercentage, ReceivedOfTotal) {
  EXPECT_EQ(LoadingLabelText(16384, 20000), "正在下载更新文件...82%");
  EXPECT_EQ(LoadingLabelText(0, 20000), "正在下载更新文件...0%");
  EXPECT_EQ(DownloadPercent(1, 8), 12);
  EXPECT_EQ(DownloadPercent(3, 8), 38);
  EXPECT_EQ(DownloadPercent(100, 0), 0);
  EXPECT_EQ(DownloadPercent(INT32_MAX, INT32_MAX), 100);
  EXPECT_EQ(DownloadPercent(1073741824, INT32_MAX), 50);
}

// Broken only when a download began and fell short of its length.
TEST(Payload, BrokenWhenShortOfItsAnnouncedLength) {
  EXPECT_FALSE((PayloadTally{20000, 20000}).IsBroken());
  EXPECT_TRUE((PayloadTally{20000, 16384}).IsBroken());
  EXPECT_FALSE((PayloadTally{}).IsBroken());
}

}  // namespace
}  // namespace kelvo
