#include "update/progress_bar_model.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

ProgressRange Range(int32_t min, int32_t max, int32_t value) {
  ProgressRange range;
  range.m_Min = min;
  range.m_Max = max;
  range.m_Value = value;
  return range;
}

TEST(ProgressDefaults, ZeroToHundredAtZero) {
  const ProgressRange range;
  EXPECT_EQ(range.m_Min, 0);
  EXPECT_EQ(range.m_Max, 100);
  EXPECT_EQ(range.m_Value, 0);
}

// Max must stay above Min; Min within 0 to below Max; Value within
// [Min, Max]. Ignored sets change nothing; accepted bounds pull Value in.
TEST(ProgressRangeSetters, IgnoreOutOfRangeAndPullTheValueIn) {
  ProgressRange range;
  EXPECT_TRUE(range.SetMax(20000));
  EXPECT_EQ(range.m_Max, 20000);

  range = Range(10, 100, 50);
  EXPECT_FALSE(range.SetMax(10));
  EXPECT_FALSE(range.SetMax(5));
  EXPECT_FALSE(range.SetMax(-1));
  EXPECT_FALSE(range.SetValue(9));
  EXPECT_FALSE(range.SetValue(101));
  EXPECT_FALSE(range.SetValue(-5));
  EXPECT_EQ(range.m_Max, 100);
  EXPECT_EQ(range.m_Value, 50);
  EXPECT_TRUE(range.SetValue(10));
  EXPECT_TRUE(range.SetValue(100));
  EXPECT_EQ(range.m_Value, 100);

  range = Range(0, 100, 50);
  EXPECT_FALSE(range.SetMin(-1));
  EXPECT_FALSE(range.SetMin(100));
  EXPECT_FALSE(range.SetMin(101));
  EXPECT_EQ(range.m_Min, 0);
  EXPECT_TRUE(range.SetMin(20));
  EXPECT_EQ(range.m_Min, 20);
  EXPECT_EQ(range.m_Value, 50);

  range = Range(0, 20000, 20000);
  EXPECT_TRUE(range.SetMax(300));
  EXPECT_EQ(range.m_Value, 300);
  range = Range(0, 100, 10);
  EXPECT_TRUE(range.SetMin(40));
  EXPECT_EQ(range.m_Value, 40);
}

// 222 pixels for 16384 of 20000 at 273; one pixel of track left at each
// end when full; none at the minimum; ties to even; no overflow.
TEST(ProgressFill, WidthBetweenTheTrackEnds) {
  EXPECT_EQ(FillWidth(273, Range(0, 20000, 16384)), 222);
  EXPECT_EQ(FillWidth(273, Range(0, 20000, 20000)), 271);
  EXPECT_EQ(FillWidth(100, Range(5, 6, 6)), 98);
  EXPECT_EQ(FillWidth(273, Range(0, 100, 0)), 0);
  EXPECT_EQ(FillWidth(273, Range(40, 100, 40)), 0);
  // 10 / 4 x 1 = 2.5 and 10 / 4 x 3 = 7.5.
  EXPECT_EQ(FillWidth(12, Range(0, 4, 1)), 2);
  EXPECT_EQ(FillWidth(12, Range(0, 4, 3)), 8);
  EXPECT_EQ(FillWidth(273, Range(0, 2147483647, 2147483647)), 271);
  EXPECT_EQ(FillWidth(273, Range(0, 2147483647, 1073741824)), 136);
}

TEST(ProgressDrawing, TrackThenFillAt273) {
  EXPECT_EQ(
      BarCopies(273, Range(0, 20000, 16384)),
      (std::vector<SkinCopy>{{0, 6, 0, 6}, {6, 10, 6, 261}, {16, 6, 267, 6}, {22, 47, 1, 222}}));
}

TEST(ProgressDrawing, EmptyValueDrawsTheTrackOnly) {
  EXPECT_EQ(BarCopies(273, Range(0, 100, 0)),
            (std::vector<SkinCopy>{{0, 6, 0, 6}, {6, 10, 6, 261}, {16, 6, 267, 6}}));
}

TEST(ProgressDrawing, NarrowControlSkipsTheMiddleWithoutNegativeWidths) {
  EXPECT_EQ(BarCopies(12, Range(0, 100, 0)), (std::vector<SkinCopy>{{0, 6, 0, 6}, {16, 6, 6, 6}}));
  EXPECT_EQ(BarCopies(0, Range(0, 100, 100)),
            (std::vector<SkinCopy>{{0, 6, 0, 6}, {16, 6, -6, 6}}));
}

}  // namespace
}  // namespace kelvo
