#include "window/hot_regions.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

struct RegionCase {
  int X, Y;
  std::optional<HotRegion> Expected;
};

TEST(FixedRegions, EdgesBelongToTheirButtonAndOnePixelOutsideIsNoButton) {
  constexpr auto none = std::nullopt;
  // clang-format off
  const RegionCase cases[] = {
      {12, 12, HotRegion::PreviousYear}, {35, 38, HotRegion::PreviousYear},
      {94, 12, HotRegion::NextYear}, {117, 38, HotRegion::NextYear},
      {124, 12, HotRegion::PreviousMonth}, {147, 38, HotRegion::PreviousMonth},
      {206, 12, HotRegion::NextMonth}, {229, 38, HotRegion::NextMonth},
      {236, 12, HotRegion::BackToToday}, {318, 38, HotRegion::BackToToday},
      {375, 10, HotRegion::Hide}, {400, 35, HotRegion::Hide},
      {11, 20, none}, {36, 20, none}, {93, 20, none},  // 36 and 93: the year text
      {20, 11, none}, {20, 39, none}, {118, 20, none},
      {148, 20, none}, {230, 20, none}, {319, 20, none},  // 148: the month text
      {374, 20, none}, {401, 20, none}, {380, 9, none}, {380, 36, none}};
  // clang-format on
  for (const RegionCase& c : cases) {
    EXPECT_EQ(FixedRegionAt(c.X, c.Y), c.Expected) << c.X << "," << c.Y;
  }
}

CalendarState TwoCellsAndTwoLinks() {
  CalendarState state;
  state.DayCells.resize(3);
  state.DayCells[0].CellRect = {12, 83, 66, 137};
  state.DayCells[1].CellRect = {67, 83, 121, 137};
  state.DayCells[2].CellRect = {12, 83, 66, 137};  // beyond CellCount
  state.CellCount = 2;
  state.AnnouncementLinks = {{{410, 210, 500, 230}, "a", "http://a"},
                             {{410, 220, 533, 240}, "b", "http://b"}};
  state.LinkCount = 2;
  return state;
}

struct HitCase {
  int Count, X, Y, Expected;
};

TEST(CellHitTest, CellsAreHalfOpenAndOnlyTheFirstCellCountAreSearched) {
  // clang-format off
  constexpr HitCase cases[] = {
      {2, 12, 83, 0}, {2, 65, 136, 0}, {2, 66, 100, -1},  // 66: the gap between columns
      {2, 67, 100, 1}, {2, 20, 137, -1}, {2, 20, 82, -1},
      {42, 100, 300, -1}, {42, 20, 100, 0}};  // a count beyond the cells held is safe
  // clang-format on
  for (const HitCase& c : cases) {
    CalendarState state = TwoCellsAndTwoLinks();
    state.CellCount = c.Count;
    EXPECT_EQ(CellIndexAt(state, c.X, c.Y), c.Expected) << c.Count << ": " << c.X << "," << c.Y;
  }
  CalendarState state = TwoCellsAndTwoLinks();
  state.DayCells[0].CellRect = {};
  EXPECT_EQ(CellIndexAt(state, 20, 100), -1) << "cell 2 lies beyond CellCount";
}

TEST(LinkHitTest, FirstLinkHoldingThePointWinsRightAndBottomEdgesAreOutside) {
  // clang-format off
  constexpr HitCase cases[] = {
      {2, 450, 225, 0}, {2, 505, 225, 1}, {2, 450, 235, 1}, {2, 410, 210, 0},
      {2, 533, 230, -1}, {2, 450, 240, -1},
      {1, 505, 225, -1}, {0, 450, 215, -1},  // LinkCount limits the search ...
      {9, 505, 235, 1}, {9, 300, 300, -1}};  // ... and overstating it is safe
  // clang-format on
  for (const HitCase& c : cases) {
    CalendarState state = TwoCellsAndTwoLinks();
    state.LinkCount = c.Count;
    EXPECT_EQ(LinkIndexAt(state, c.X, c.Y), c.Expected) << c.Count << ": " << c.X << "," << c.Y;
  }
}

TEST(HandCursor, ShowsOverButtonsAndLinksOnly) {
  // clang-format off
  constexpr HitCase cases[] = {
      {2, 35, 38, true}, {2, 36, 20, false}, {2, 400, 35, true}, {2, 450, 215, true},
      {2, 533, 230, false},  // right and bottom edge of link 1
      {2, 20, 100, false},   // day cells keep the arrow
      {0, 450, 215, false}, {0, 240, 20, true}};
  // clang-format on
  for (const HitCase& c : cases) {
    CalendarState state = TwoCellsAndTwoLinks();
    state.LinkCount = c.Count;
    EXPECT_EQ(ShowsHandCursor(state, c.X, c.Y), c.Expected != 0) << c.X << "," << c.Y;
  }
}

}  // namespace
}  // namespace kelvo
