#include "net/announcements.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvo {
namespace {

CalendarState Parsed(std::string_view text) {
  CalendarState state;
  ParseGGList(state, text);
  EXPECT_EQ(state.LinkCount, static_cast<int>(state.AnnouncementLinks.size()));
  return state;
}

// "#" separates entries, the first "$" of each splits title from address;
// nothing is trimmed, and pieces without "$" take no row.
TEST(ParseGGList, SplitsEntriesIntoTitlesAndAddresses) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  const struct {
    const char* text;
    Entries entries;
  } rows[] = {{"A$U1#B$U2", {{"A", "U1"}, {"B", "U2"}}},
              {"a$b$c", {{"a", "b"}}},
              {"", {}},
              {"A$U1#stray#B$U2#", {{"A", "U1"}, {"B", "U2"}}},
              {"A$U1\r\n#\r\n B $ U2\t#\r\n", {{"A", "U1\r\n"}, {"\r\n B ", " U2\t"}}},
              {"$#T$#$U", {{"", ""}, {"T", ""}, {"", "U"}}},
              {"公告一$http://example.com/a#新版本$http://example.com/b",
               {{"公告一", "http://example.com/a"}, {"新版本", "http://example.com/b"}}}};
  for (const auto& row : rows) {
    Entries entries;
    for (const AnnouncementLink& link : Parsed(row.text).AnnouncementLinks)
      entries.emplace_back(link.LinkTitle, link.LinkUrl);
    EXPECT_EQ(entries, row.entries) << row.text;
  }
}

TEST(ParseGGList, EntriesTakeRowsOf25PixelsFrom220) {
  const CalendarState s = Parsed("t0$u0#stray#t1$u1#t2$u2#t3$u3#t4$u4#t5$u5#t6$u6");
  ASSERT_EQ(s.LinkCount, 7);
  EXPECT_EQ(s.AnnouncementLinks[0].LinkRect, (Rect{410, 220, 538, 240}));
  EXPECT_EQ(s.AnnouncementLinks[6].LinkRect, (Rect{410, 370, 538, 390})) << "below the window";
}

}  // namespace
}  // namespace kelvo
