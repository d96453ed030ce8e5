#include "net/announcements.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace kelvo {
namespace {

CalendarState Parsed(std::string_view text) {
  CalendarState state;
  ParseGGList(state, text);
  return state;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries TitlesAndAddresses(const CalendarState& state) {
  EXPECT_EQ(state.LinkCount, static_cast<int>(state.AnnouncementLinks.size()));
  Entries entries;
  for (const AnnouncementLink& link : state.AnnouncementLinks)
    entries.emplace_back(link.LinkTitle, link.LinkUrl);
  return entries;
}

// "#" separates entries, the first "$" of each splits title from address;
// nothing is trimmed, and pieces without "$" take no row.
TEST(ParseGGList, SplitsEntriesIntoTitlesAndAddresses) {
  const struct {
    const char* text;
    Entries entries;
  } rows[] = {{"A$U1#B$U2", {{"A", "U1"}, {"B", "U2"}}},
              {"a$b$c", {{"a", "b"}}},
              {"", {}},
              {"A$U1#B$U2#", {{"A", "U1"}, {"B", "U2"}}},
              {"#", {}},
              {"###", {}},
              {"no dollar at all", {}},
              {"A$U1#stray#B$U2", {{"A", "U1"}, {"B", "U2"}}},
              {"A$U1\r\n#\r\n B $ U2\t#\r\n", {{"A", "U1\r\n"}, {"\r\n B ", " U2\t"}}},
              {"$#T$#$U", {{"", ""}, {"T", ""}, {"", "U"}}},
              {"公告一$http://example.com/a#新版本$http://example.com/b",
               {{"公告一", "http://example.com/a"}, {"新版本", "http://example.com/b"}}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(TitlesAndAddresses(Parsed(row.text)), row.entries);
  }
}

TEST(ParseGGList, EntriesTakeRowsOf25PixelsFrom220) {
  const CalendarState s = Parsed("t0$u0#t1$u1#t2$u2#t3$u3#t4$u4#t5$u5#t6$u6");
  ASSERT_EQ(s.LinkCount, 7);
  EXPECT_EQ(s.AnnouncementLinks[0].LinkRect, (Rect{410, 220, 538, 240}));
  EXPECT_EQ(s.AnnouncementLinks[1].LinkRect, (Rect{410, 245, 538, 265}));
  EXPECT_EQ(s.AnnouncementLinks[5].LinkRect, (Rect{410, 345, 538, 365}));
  // The seventh lies below the window.
  EXPECT_EQ(s.AnnouncementLinks[6].LinkRect, (Rect{410, 370, 538, 390}));
  EXPECT_EQ(s.AnnouncementLinks[6].LinkTitle, "t6");
  EXPECT_EQ(s.AnnouncementLinks[6].LinkUrl, "u6");
}

TEST(ParseGGList, PieceWithoutDollarTakesNoRow) {
  const CalendarState s = Parsed("A$U1#stray#B$U2");
  ASSERT_EQ(s.LinkCount, 2);
  EXPECT_EQ(s.AnnouncementLinks[1].LinkRect, (Rect{410, 245, 538, 265}));
}

TEST(ParseGGList, SecondParseAppendsAfterTheCountedEntries) {
  CalendarState s;
  ParseGGList(s, "A$U1");
  ParseGGList(s, "B$U2");
  ASSERT_EQ(s.LinkCount, 2);
  ASSERT_EQ(s.AnnouncementLinks.size(), 2u);
  EXPECT_EQ(s.AnnouncementLinks[1].LinkTitle, "B");
}

TEST(ParseGGList, LongListIsParsedWhole) {
  // The largest list the fetch accepts (1 MiB) packed with the shortest
  // entries: one row every 4 bytes.
  std::string text;
  for (int i = 0; i < 262144; ++i) text += "t$u#";
  const auto start = std::chrono::steady_clock::now();
  const CalendarState s = Parsed(text);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(s.LinkCount, 262144);
  ASSERT_EQ(s.AnnouncementLinks.size(), 262144u);
  EXPECT_EQ(s.AnnouncementLinks[262143].LinkRect, (Rect{410, 6553795, 538, 6553815}));
  EXPECT_EQ(s.AnnouncementLinks[262143].LinkUrl, "u");
  std::printf("[ figure ] 262144 entries (1 MiB) parsed in %.1f ms\n",
              std::chrono::duration<double, std::milli>(took).count());
}

TEST(AnnouncementRect, LastPlaceableRowStaysInRange) {
  EXPECT_EQ(kLastAnnouncementRow, 85899336);
  EXPECT_EQ(AnnouncementRect(kLastAnnouncementRow), (Rect{410, 2147483620, 538, 2147483640}));
}

}  // namespace
}  // namespace kelvo
