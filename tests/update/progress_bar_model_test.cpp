#include "update/progress_bar_model.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

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
