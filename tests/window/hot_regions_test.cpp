#include "window/hot_regions.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(FixedRegions, EdgesBelongToTheirButton) {
  EXPECT_EQ(FixedRegionAt(12, 12), HotRegion::PreviousYear);
  EXPECT_EQ(FixedRegionAt(35, 38), HotRegion::PreviousYear);
  EXPECT_EQ(FixedRegionAt(94, 12), HotRegion::NextYear);
  EXPECT_EQ(FixedRegionAt(117, 38), HotRegion::NextYear);
  EXPECT_EQ(FixedRegionAt(124, 12), HotRegion::PreviousMonth);
  EXPECT_EQ(FixedRegionAt(147, 38), HotRegion::PreviousMonth);
  EXPECT_EQ(FixedRegionAt(206, 12), HotRegion::NextMonth);
  EXPECT_EQ(FixedRegionAt(229, 38), HotRegion::NextMonth);
  EXPECT_EQ(FixedRegionAt(236, 12), HotRegion::BackToToday);
  EXPECT_EQ(FixedRegionAt(318, 38), HotRegion::BackToToday);
  EXPECT_EQ(FixedRegionAt(375, 10), HotRegion::Hide);
  EXPECT_EQ(FixedRegionAt(400, 35), HotRegion::Hide);
}

TEST(FixedRegions, OnePixelOutsideIsNoButton) {
  EXPECT_EQ(FixedRegionAt(11, 20), std::nullopt);
  EXPECT_EQ(FixedRegionAt(36, 20), std::nullopt);  // year text
  EXPECT_EQ(FixedRegionAt(93, 20), std::nullopt);  // year text
  EXPECT_EQ(FixedRegionAt(20, 11), std::nullopt);
  EXPECT_EQ(FixedRegionAt(20, 39), std::nullopt);
  EXPECT_EQ(FixedRegionAt(118, 20), std::nullopt);
  EXPECT_EQ(FixedRegionAt(148, 20), std::nullopt);  // month text
  EXPECT_EQ(FixedRegionAt(230, 20), std::nullopt);
  EXPECT_EQ(FixedRegionAt(319, 20), std::nullopt);
  EXPECT_EQ(FixedRegionAt(374, 20), std::nullopt);
  EXPECT_EQ(FixedRegionAt(401, 20), std::nullopt);
  EXPECT_EQ(FixedRegionAt(380, 9), std::nullopt);
  EXPECT_EQ(FixedRegionAt(380, 36), std::nullopt);
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

TEST(CellHitTest, CellsAreHalfOpen) {
  const CalendarState state = TwoCellsAndTwoLinks();
  EXPECT_EQ(CellIndexAt(state, 12, 83), 0);
  EXPECT_EQ(CellIndexAt(state, 65, 136), 0);
  EXPECT_EQ(CellIndexAt(state, 66, 100), -1);  // the gap between columns
  EXPECT_EQ(CellIndexAt(state, 67, 100), 1);
  EXPECT_EQ(CellIndexAt(state, 20, 137), -1);
  EXPECT_EQ(CellIndexAt(state, 20, 82), -1);
}

TEST(CellHitTest, OnlyTheFirstCellCountCellsAreSearched) {
  CalendarState state = TwoCellsAndTwoLinks();
  state.DayCells[0].CellRect = {};
  EXPECT_EQ(CellIndexAt(state, 20, 100), -1);
}

TEST(CellHitTest, CellCountBeyondTheCellsHeldIsSafe) {
  CalendarState state = TwoCellsAndTwoLinks();
  state.CellCount = 42;
  EXPECT_EQ(CellIndexAt(state, 100, 300), -1);
  EXPECT_EQ(CellIndexAt(state, 20, 100), 0);
}

TEST(LinkHitTest, FirstLinkHoldingThePointWins) {
  const CalendarState state = TwoCellsAndTwoLinks();
  EXPECT_EQ(LinkIndexAt(state, 450, 225), 0);
  EXPECT_EQ(LinkIndexAt(state, 505, 225), 1);
  EXPECT_EQ(LinkIndexAt(state, 450, 235), 1);
}

TEST(LinkHitTest, RightAndBottomEdgesAreOutside) {
  const CalendarState state = TwoCellsAndTwoLinks();
  EXPECT_EQ(LinkIndexAt(state, 533, 230), -1);
  EXPECT_EQ(LinkIndexAt(state, 450, 240), -1);
  EXPECT_EQ(LinkIndexAt(state, 410, 210), 0);
}

TEST(LinkHitTest, LinkCountLimitsTheSearchAndOverstatingItIsSafe) {
  CalendarState state = TwoCellsAndTwoLinks();
  state.LinkCount = 1;
  EXPECT_EQ(LinkIndexAt(state, 505, 225), -1);
  state.LinkCount = 0;
  EXPECT_EQ(LinkIndexAt(state, 450, 215), -1);
  state.LinkCount = 9;
  EXPECT_EQ(LinkIndexAt(state, 505, 235), 1);
  EXPECT_EQ(LinkIndexAt(state, 300, 300), -1);
}

TEST(HandCursor, ShowsOverButtonsAndLinksOnly) {
  const CalendarState state = TwoCellsAndTwoLinks();
  EXPECT_TRUE(ShowsHandCursor(state, 35, 38));
  EXPECT_FALSE(ShowsHandCursor(state, 36, 20));
  EXPECT_TRUE(ShowsHandCursor(state, 400, 35));
  EXPECT_TRUE(ShowsHandCursor(state, 450, 215));
  EXPECT_FALSE(ShowsHandCursor(state, 533, 230));  // right and bottom edge of link 1
  EXPECT_FALSE(ShowsHandCursor(state, 20, 100));   // day cells keep the arrow
}

TEST(HandCursor, WithoutLinksOnlyTheSixButtons) {
  CalendarState state = TwoCellsAndTwoLinks();
  state.LinkCount = 0;
  EXPECT_FALSE(ShowsHandCursor(state, 450, 215));
  EXPECT_TRUE(ShowsHandCursor(state, 240, 20));
}

TEST(DayNumber, ReadsTheDayTextAndRejectsOtherText) {
  DayCell cell;
  cell.DayText = "31";
  EXPECT_EQ(DayNumber(cell), 31);
  cell.DayText = "";
  EXPECT_EQ(DayNumber(cell), 0);
  cell.DayText = "3x";
  EXPECT_EQ(DayNumber(cell), 0);
  cell.DayText = "99999999999999";
  EXPECT_EQ(DayNumber(cell), 0);
}

}  // namespace
}  // namespace kelvo
