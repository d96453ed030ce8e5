#include "update/progress_bar_model.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// Min stays in [0, Max), Max above Min, Value in [Min, Max]; an ignored set
// changes nothing, an accepted bound pulls Value in.
TEST(ProgressRange, SettersKeepTheRangeAndPullTheValueIn) {
  const auto Min = &ProgressRange::SetMin, Max = &ProgressRange::SetMax;
  const auto Value = &ProgressRange::SetValue;
  const struct {
    bool (ProgressRange::*set)(int32_t);
    int32_t to;
    bool accepted;
    int32_t min, max, value;  // after the set, from 10, 100, 50
  } rows[] = {{Max, 10, false, 10, 100, 50},    {Min, -1, false, 10, 100, 50},
              {Min, 100, false, 10, 100, 50},   {Value, 9, false, 10, 100, 50},
              {Value, 101, false, 10, 100, 50}, {Max, 30, true, 10, 30, 30},
              {Min, 60, true, 60, 100, 60},     {Value, 100, true, 10, 100, 100}};
  for (const auto& row : rows) {
    ProgressRange range{10, 100, 50};
    EXPECT_EQ((range.*row.set)(row.to), row.accepted) << row.to;
    EXPECT_EQ(range.m_Min, row.min) << row.to;
    EXPECT_EQ(range.m_Max, row.max) << row.to;
    EXPECT_EQ(range.m_Value, row.value) << row.to;
  }
}

// Ties to even; the largest range does not overflow; a narrow control
// draws no middle of negative width.
TEST(ProgressFill, WidthBetweenTheTrackEnds) {
  EXPECT_EQ(FillWidth(12, {0, 4, 1}), 2);  // 2.5
  EXPECT_EQ(FillWidth(12, {0, 4, 3}), 8);  // 7.5
  EXPECT_EQ(FillWidth(273, {0, INT32_MAX, INT32_MAX}), 271);
  EXPECT_EQ(BarCopies(12, {0, 100, 0}), (std::vector<SkinCopy>{{0, 6, 0, 6}, {16, 6, 6, 6}}));
}

}  // namespace
}  // namespace kelvo
