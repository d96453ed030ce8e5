// The announcement fetch against the loopback test server, under Wine.
#include "net/win32/mod_gg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "desktop/win32/platform_text.h"
#include "net/announcements.h"
#include "tests/support/test_server.h"

namespace kelvo {
namespace {

namespace server = test_server;

// "公告$http://a/1#新版本发布$http://a/2" in code page 936.
const std::string kChineseList =
    "\xb9\xab\xb8\xe6$http://a/1#\xd0\xc2\xb0\xe6\xb1\xbe\xb7\xa2\xb2\xbc$http://a/2";

class ModGGTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server";
  }

  // Waits until every fetch thread of `fetch` has ended. Generous: a fetch
  // against a stalling path takes a few seconds on purpose.
  static void WaitForFetches(const GGFetch& fetch) {
    for (int i = 0; i < 600 && fetch.InFlight() > 0; ++i) Sleep(50);
    ASSERT_EQ(fetch.InFlight(), 0) << "fetch threads still running after 30 s";
  }

  // Fetches `path` once to its end.
  static void FetchToTheEnd(GGFetch& fetch, const std::string& path) {
    fetch.Start(server::Url(path));
    WaitForFetches(fetch);
  }
};

TEST_F(ModGGTest, Cp936ListIsPublishedWholeAndDecodesToTheRightCharacters) {
  server::Serve("myapp/KelvoCalendar/GGList.txt", kChineseList);
  GGFetch fetch;
  EXPECT_FALSE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), "");
  FetchToTheEnd(fetch, "/myapp/KelvoCalendar/GGList.txt");
  ASSERT_TRUE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), kChineseList);
  const std::string text = FromAnsi(fetch.Data());
  EXPECT_EQ(text, "公告$http://a/1#新版本发布$http://a/2");
  CalendarState state;
  ParseGGList(state, text);
  ASSERT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks[0].LinkTitle, "公告");
  EXPECT_EQ(state.AnnouncementLinks[1].LinkTitle, "新版本发布");
  EXPECT_EQ(state.AnnouncementLinks[1].LinkUrl, "http://a/2");
}

// Bodies of many reads, up to exactly one mebibyte, are published whole.
TEST_F(ModGGTest, BodiesUpToOneMebibyteArePublishedWhole) {
  for (size_t size : {20000u, 1048576u}) {
    SCOPED_TRACE(size);
    GGFetch fetch;
    FetchToTheEnd(fetch, "/_/ok/" + std::to_string(size));
    ASSERT_TRUE(fetch.Loaded());
    EXPECT_EQ(fetch.Data(), server::Pattern(size));
  }
}

// Every answer that is not a whole, announced, non-empty list of at most
// one mebibyte leaves the fetch unpublished.
TEST_F(ModGGTest, UnusableAnswersAreNotPublished) {
  server::Serve("empty/GGList.txt", "");
  for (const char* path :
       {"/_/ok/1048577", "/_/notfound", "/myapp/KelvoCalendar/nothing-here.txt", "/_/status/500",
        "/_/empty", "/empty/GGList.txt", "/_/chunked/5000", "/_/cut/20000/12000",
        "/_/stallclose/20000/5000/1", "/_/huge", "/_/length/12abc/5"}) {
    SCOPED_TRACE(path);
    GGFetch fetch;
    FetchToTheEnd(fetch, path);
    EXPECT_FALSE(fetch.Loaded());
    EXPECT_EQ(fetch.Data(), "");
  }
}

TEST_F(ModGGTest, RedirectIsFollowed) {
  server::Serve("moved/GGList.txt", "A$U1");
  GGFetch fetch;
  FetchToTheEnd(fetch, "/_/redirect/302/moved/GGList.txt");
  ASSERT_TRUE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), "A$U1");
}

TEST_F(ModGGTest, FailedFetchCanBeRetried) {
  GGFetch fetch;
  FetchToTheEnd(fetch, "/_/cut/3000/1000");
  ASSERT_FALSE(fetch.Loaded());
  FetchToTheEnd(fetch, "/_/ok/3000");
  ASSERT_TRUE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), server::Pattern(3000));
}

TEST_F(ModGGTest, NoFetchStartsOnceLoaded) {
  GGFetch fetch;
  FetchToTheEnd(fetch, "/_/ok/100?first");
  ASSERT_TRUE(fetch.Loaded());
  fetch.Start(server::Url("/_/ok/200"));
  EXPECT_EQ(fetch.InFlight(), 0);
  WaitForFetches(fetch);
  EXPECT_EQ(server::TimesRequested("/_/ok/200"), 0);
  EXPECT_EQ(fetch.Data(), server::Pattern(100));
}

TEST_F(ModGGTest, LaterFetchFinishingFirstWinsAndTheSlowOneDoesNotOverwrite) {
  GGFetch fetch;
  // Four seconds of trickle, then a quick answer while it still runs.
  fetch.Start(server::Url("/_/trickle/20000/500/100"));
  fetch.Start(server::Url("/_/ok/300"));
  for (int i = 0; i < 600 && !fetch.Loaded(); ++i) Sleep(10);
  ASSERT_TRUE(fetch.Loaded());
  const char* const published = fetch.Data().data();
  EXPECT_EQ(fetch.Data(), server::Pattern(300));
  EXPECT_EQ(fetch.InFlight(), 1) << "the trickling fetch should still be running";
  WaitForFetches(fetch);
  EXPECT_EQ(fetch.Data().data(), published);
  EXPECT_EQ(fetch.Data(), server::Pattern(300));
}

TEST_F(ModGGTest, StalledFetchDoesNotBlockTheRetryNorOverwriteItsList) {
  server::Serve("stall/GGList.txt", "A$U1#B$U2");
  GGFetch fetch;
  // Stalls five seconds mid-body, then sends the rest: a whole body, but
  // the list is already published by then.
  fetch.Start(server::Url("/_/stall/20000/5000/5"));
  fetch.Start(server::Url("/stall/GGList.txt"));
  for (int i = 0; i < 600 && !fetch.Loaded(); ++i) Sleep(10);
  ASSERT_TRUE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), "A$U1#B$U2");
  WaitForFetches(fetch);
  EXPECT_EQ(server::TimesRequested("/_/stall/20000/5000/5"), 1);
  EXPECT_EQ(fetch.Data(), "A$U1#B$U2");
}

TEST_F(ModGGTest, StalledServerHoldsAtMostFourFetches) {
  GGFetch fetch;
  for (int i = 0; i < 6; ++i) fetch.Start(server::Url("/_/stall/1000/10/3"));
  EXPECT_EQ(fetch.InFlight(), kMaxGGFetchesInFlight);
  WaitForFetches(fetch);
  EXPECT_EQ(server::TimesRequested("/_/stall/1000/10/3"), 4);
  // All four completed; one of them published, whole.
  ASSERT_TRUE(fetch.Loaded());
  EXPECT_EQ(fetch.Data(), server::Pattern(1000));
}

TEST_F(ModGGTest, FetchOutlivesItsOwner) {
  {
    GGFetch fetch;
    fetch.Start(server::Url("/_/trickle/4000/1000/100?outlive"));
  }
  // The thread finishes into its own shared state; nothing here crashes.
  for (int i = 0; i < 100 && server::TimesRequested("/_/trickle/4000/1000/100") == 0; ++i)
    Sleep(10);
  Sleep(800);
  SUCCEED();
}

TEST(ModGGUrl, ListLivesUnderTheProductFolderOfTheServer) {
  const std::string url = GGListUrl();
  EXPECT_EQ(url.rfind("http://", 0), 0u);
  EXPECT_EQ(url.substr(url.size() - 31), "/myapp/KelvoCalendar/GGList.txt");
}

}  // namespace
}  // namespace kelvo
