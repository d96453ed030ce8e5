// The demo site the run command serves: what the calendar will find there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kelvo_version.h"
#include "net/announcements.h"
#include "update/update_check.h"

namespace kelvo {
namespace {

const std::string kSite = std::string(KELVO_SOURCE_DIR) + "/tools/demo-site/site";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(DemoSite, ManifestNamesTheRunningVersionSoNoUpdateIsOffered) {
  const std::string manifest = ReadBytes(kSite + "/myapp/KelvoCalendar/update.txt");
  ASSERT_FALSE(manifest.empty());
  EXPECT_EQ(PublishedVersion(manifest), KELVO_VERSION_TEXT);
  EXPECT_FALSE(IsOtherVersion(manifest, KELVO_VERSION_TEXT));
}

TEST(DemoSite, ListHoldsFourLinksInCodePage936) {
  // "#" and "$" never occur inside a code page 936 character (its second
  // bytes start at 0x40), so the raw bytes split like the decoded text.
  const std::string list = ReadBytes(kSite + "/myapp/KelvoCalendar/GGList.txt");
  CalendarState state;
  ParseGGList(state, list);
  ASSERT_EQ(state.LinkCount, 4);
  // "欢迎使用Kelvo日历" and "联系我们" in code page 936.
  EXPECT_EQ(state.AnnouncementLinks[0].LinkTitle,
            "\xbb\xb6\xd3\xad\xca\xb9\xd3\xc3Kelvo\xc8\xd5\xc0\xfa");
  EXPECT_EQ(state.AnnouncementLinks[3].LinkTitle, "\xc1\xaa\xcf\xb5\xce\xd2\xc3\xc7");
  EXPECT_EQ(state.AnnouncementLinks[0].LinkUrl, "http://127.0.0.1:18080/welcome.html");
}

TEST(DemoSite, EveryLinkOpensAPageOfTheSite) {
  CalendarState state;
  ParseGGList(state, ReadBytes(kSite + "/myapp/KelvoCalendar/GGList.txt"));
  const std::string prefix = "http://127.0.0.1:18080/";
  for (const AnnouncementLink& link : state.AnnouncementLinks) {
    ASSERT_EQ(link.LinkUrl.rfind(prefix, 0), 0u) << link.LinkUrl;
    const std::string page = link.LinkUrl.substr(prefix.size());
    EXPECT_TRUE(std::filesystem::is_regular_file(kSite + "/" + page)) << page;
  }
}

}  // namespace
}  // namespace kelvo
