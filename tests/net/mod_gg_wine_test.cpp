// The announcement fetch against the loopback test server, under Wine.
#include "net/win32/mod_gg.h"

#include <gtest/gtest.h>

#include <string>

#include "desktop/win32/platform_text.h"
#include "net/announcements.h"
#include "tests/support/wine_testing.h"

namespace kelvo {
namespace {

using namespace test;

// "公告$http://a/1#新版本发布$http://a/2" in code page 936.
const std::string kList =
    "\xb9\xab\xb8\xe6$http://a/1#\xd0\xc2\xb0\xe6\xb1\xbe\xb7\xa2\xb2\xbc$http://a/2";

void FetchToTheEnd(GGFetch& fetch, const std::string& path) {
  fetch.Start(ServerUrl(path));
  ASSERT_TRUE(WaitFor([&] { return fetch.InFlight() == 0; }, 30000)) << path;
}

// Nothing but a whole, announced, non-empty list of at most 1 MiB is
// published; the fetch is retried after every failure.
TEST(GGFetch, OnlyAWholeListIsPublishedAndDecodes) {
  Serve("list.txt", kList);
  Serve("empty.txt", "");
  Serve("large.txt", std::string(1048577, 'x'));
  GGFetch fetch;
  for (const char* path : {"/missing.txt", "/_/status/500/list.txt", "/empty.txt", "/large.txt",
                           "/_/length/none/list.txt", "/_/length/4294967296/list.txt",
                           "/_/short/12/0/list.txt", "/_/short/12/1/list.txt"}) {
    FetchToTheEnd(fetch, path);
    EXPECT_FALSE(fetch.Loaded()) << path;
    EXPECT_EQ(fetch.Data(), "") << path;
  }
  FetchToTheEnd(fetch, "/list.txt");
  ASSERT_TRUE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), kList);
  CalendarState state;
  ParseGGList(state, FromAnsi(fetch.Data()));
  ASSERT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks[0].LinkTitle, "公告");
  EXPECT_EQ(state.AnnouncementLinks[1].LinkTitle, "新版本发布");
  EXPECT_EQ(state.AnnouncementLinks[1].LinkUrl, "http://a/2");
}

// A slow fetch neither holds up the retry nor, finishing later, replaces
// the list the retry published.
TEST(GGFetch, SlowFetchDoesNotBlockTheRetryNorOverwriteItsList) {
  Serve("slow.txt", "S$slow");
  Serve("quick.txt", "Q$quick");
  GGFetch fetch;
  fetch.Start(ServerUrl("/_/delay/2/slow.txt"));
  fetch.Start(ServerUrl("/quick.txt"));
  ASSERT_TRUE(WaitFor([&] { return fetch.Loaded(); }, 1500));
  EXPECT_EQ(fetch.InFlight(), 1) << "the slow fetch still runs";
  ASSERT_TRUE(WaitFor([&] { return fetch.InFlight() == 0; }, 30000));
  EXPECT_EQ(fetch.Data(), "Q$quick");
}

}  // namespace
}  // namespace kelvo
