#include "window/hot_regions.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// Two day cells and two overlapping links; a third cell lies beyond CellCount.
CalendarState TwoCellsAndTwoLinks(int16_t cellCount = 2, int linkCount = 2) {
  CalendarState state;
  state.DayCells.resize(3);
  state.DayCells[0].CellRect = {12, 83, 66, 137};
  state.DayCells[1].CellRect = {67, 83, 121, 137};
  state.DayCells[2].CellRect = {12, 83, 66, 137};
  state.CellCount = cellCount;
  state.AnnouncementLinks = {{{410, 210, 500, 230}, "a", "http://a"},
                             {{410, 220, 533, 240}, "b", "http://b"}};
  state.LinkCount = linkCount;
  return state;
}

struct PointCase {
  int X, Y;
  std::optional<HotRegion> Button;
  int Cell, Link;
  bool Hand;
};

// Buttons count their borders as inside; cells and links do not count their
// right and bottom edges; the hand shows over buttons and links, not days.
TEST(HotRegions, EachPointFindsItsButtonCellOrLinkAndItsCursor) {
  constexpr auto no = std::nullopt;
  using enum HotRegion;
  // clang-format off
  const PointCase cases[] = {
      {12, 12, PreviousYear, -1, -1, true}, {35, 38, PreviousYear, -1, -1, true},
      {94, 12, NextYear, -1, -1, true}, {117, 38, NextYear, -1, -1, true},
      {124, 12, PreviousMonth, -1, -1, true}, {147, 38, PreviousMonth, -1, -1, true},
      {206, 12, NextMonth, -1, -1, true}, {229, 38, NextMonth, -1, -1, true},
      {236, 12, BackToToday, -1, -1, true}, {318, 38, BackToToday, -1, -1, true},
      {375, 10, Hide, -1, -1, true}, {400, 35, Hide, -1, -1, true},
      {11, 20, no, -1, -1, false}, {36, 20, no, -1, -1, false},  // 36 to 93: the year text
      {93, 20, no, -1, -1, false}, {20, 11, no, -1, -1, false}, {20, 39, no, -1, -1, false},
      {118, 20, no, -1, -1, false}, {148, 20, no, -1, -1, false}, {230, 20, no, -1, -1, false},
      {319, 20, no, -1, -1, false}, {374, 20, no, -1, -1, false}, {401, 20, no, -1, -1, false},
      {380, 9, no, -1, -1, false}, {380, 36, no, -1, -1, false},
      {12, 83, no, 0, -1, false}, {65, 136, no, 0, -1, false}, {66, 100, no, -1, -1, false},
      {67, 100, no, 1, -1, false}, {20, 137, no, -1, -1, false}, {20, 82, no, -1, -1, false},
      {410, 210, no, -1, 0, true}, {450, 225, no, -1, 0, true}, {505, 225, no, -1, 1, true},
      {450, 235, no, -1, 1, true}, {533, 230, no, -1, -1, false}, {450, 240, no, -1, -1, false}};
  // clang-format on
  const CalendarState state = TwoCellsAndTwoLinks();
  for (const PointCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.X << "," << c.Y);
    EXPECT_EQ(FixedRegionAt(c.X, c.Y), c.Button);
    EXPECT_EQ(CellIndexAt(state, c.X, c.Y), c.Cell);
    EXPECT_EQ(LinkIndexAt(state, c.X, c.Y), c.Link);
    EXPECT_EQ(ShowsHandCursor(state, c.X, c.Y), c.Hand);
  }
}

TEST(HotRegions, OnlyTheCountedCellsAndLinksAreSearchedAndOverstatedCountsAreSafe) {
  EXPECT_EQ(CellIndexAt(TwoCellsAndTwoLinks(42), 20, 100), 0);
  EXPECT_EQ(CellIndexAt(TwoCellsAndTwoLinks(42), 100, 300), -1);
  CalendarState firstCellGone = TwoCellsAndTwoLinks();
  firstCellGone.DayCells[0].CellRect = {};
  EXPECT_EQ(CellIndexAt(firstCellGone, 20, 100), -1) << "cell 2 lies beyond CellCount";
  EXPECT_EQ(LinkIndexAt(TwoCellsAndTwoLinks(2, 1), 505, 225), -1);
  EXPECT_EQ(LinkIndexAt(TwoCellsAndTwoLinks(2, 0), 450, 215), -1);
  EXPECT_FALSE(ShowsHandCursor(TwoCellsAndTwoLinks(2, 0), 450, 215));
  EXPECT_EQ(LinkIndexAt(TwoCellsAndTwoLinks(2, 9), 505, 235), 1);
  EXPECT_EQ(LinkIndexAt(TwoCellsAndTwoLinks(2, 9), 300, 300), -1);
}

}  // namespace
}  // namespace kelvo
