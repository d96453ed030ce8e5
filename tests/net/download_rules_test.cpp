#include "net/download_rules.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// Only status 200 with a plain decimal, non-zero length is taken: up to
// 2^31 - 1 in file mode, up to 1 MiB in memory mode.
TEST(ResponseAcceptance, TotalTakenByStatusLengthAndMode) {
  constexpr DownloadMode F = DownloadMode::File, M = DownloadMode::Memory;
  const std::optional<int32_t> none;
  EXPECT_EQ(AcceptedTotal(200, "20000", F), 20000);
  EXPECT_EQ(AcceptedTotal(200, "1048576", M), 1048576);
  EXPECT_EQ(AcceptedTotal(200, "1048577", M), none);
  EXPECT_EQ(AcceptedTotal(200, "2147483647", F), INT32_MAX);
  EXPECT_EQ(AcceptedTotal(200, "0", M), none);
  EXPECT_EQ(AcceptedTotal(200, std::nullopt, F), none);
  EXPECT_EQ(AcceptedTotal(302, "10", M), none);
  EXPECT_EQ(AcceptedTotal(206, "10", F), none);
  for (const char* length : {"2147483648", "4294987296", "", "-5", "+5", "12a", "1 2", "0x10"})
    EXPECT_EQ(AcceptedTotal(200, length, F), none) << length;
}

TEST(FileTally, CumulativeUntilAnEmptyReadOrThe2GiBLimit) {
  FileTransferTally tally;
  for (const uint32_t chunk : {8192u, 8192u, 3616u}) EXPECT_TRUE(tally.AddChunk(chunk));
  EXPECT_FALSE(tally.AddChunk(0));
  EXPECT_EQ(tally.Received(), 20000);
  for (int i = 0; i < 262141; ++i) ASSERT_TRUE(tally.AddChunk(8192));
  EXPECT_TRUE(tally.AddChunk(4575));  // to exactly 2^31 - 1
  EXPECT_EQ(tally.Received(), INT32_MAX);
  EXPECT_FALSE(tally.AddChunk(1));
  EXPECT_EQ(tally.Received(), INT32_MAX);
}

}  // namespace
}  // namespace kelvo
