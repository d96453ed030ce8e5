#include "net/download_rules.h"

#include <gtest/gtest.h>

#include <optional>

namespace kelvo {
namespace {

constexpr DownloadMode F = DownloadMode::File, M = DownloadMode::Memory;

// Only status 200 with a plain decimal, non-zero length is taken: up to
// 2^31 - 1 in file mode, up to 1 MiB in memory mode.
TEST(ResponseAcceptance, TotalTakenByStatusLengthAndMode) {
  const struct {
    uint32_t status;
    std::optional<const char*> length;
    DownloadMode mode;
    std::optional<int32_t> total;
  } rows[] = {{200, "20000", F, 20000},
              {200, "20000", M, 20000},
              {200, "1048576", M, 1048576},
              {200, "1048577", M, std::nullopt},
              {200, "2147483647", F, INT32_MAX},
              {200, "2147483648", F, std::nullopt},
              {200, "4294987296", F, std::nullopt},
              {200, std::nullopt, F, std::nullopt},
              {200, std::nullopt, M, std::nullopt},
              {200, "0", F, std::nullopt},
              {200, "0", M, std::nullopt},
              {404, "10", F, std::nullopt},
              {302, "10", M, std::nullopt},
              {206, "10", F, std::nullopt}};
  for (const auto& row : rows)
    EXPECT_EQ(AcceptedTotal(row.status, row.length, row.mode), row.total)
        << row.status << " " << row.length.value_or("(none)");
  for (const char* header : {"", "-5", "+5", "12a", "1 2", "0x10", "99999999999999999999999999"})
    EXPECT_EQ(ParseContentLength(header), std::nullopt) << header;
}

TEST(FileTally, CumulativeUntilAnEmptyReadOrThe2GiBLimit) {
  FileTransferTally tally;
  for (const uint32_t chunk : {8192u, 8192u, 3616u}) EXPECT_TRUE(tally.AddChunk(chunk));
  EXPECT_EQ(tally.Received(), 20000);
  EXPECT_FALSE(tally.AddChunk(0));
  EXPECT_EQ(tally.Received(), 20000);

  FileTransferTally big;
  for (int i = 0; i < 262143; ++i) ASSERT_TRUE(big.AddChunk(8192));
  EXPECT_TRUE(big.AddChunk(8191));
  EXPECT_EQ(big.Received(), INT32_MAX);
  EXPECT_FALSE(big.AddChunk(1));
  EXPECT_EQ(big.Received(), INT32_MAX);
}

TEST(MemoryTally, ReadsAtMostOneChunkAndNeverPastTheBuffer) {
  MemoryTransferTally tally(20000);
  EXPECT_EQ(tally.NextReadSize(), 8192);
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_TRUE(tally.AddChunk(5000));
  EXPECT_EQ(tally.NextReadSize(), 6808);
  EXPECT_FALSE(tally.AddChunk(0)) << "a closed connection ends the loop";
  EXPECT_FALSE(tally.Complete());
  EXPECT_FALSE(tally.AddChunk(50000));
  EXPECT_EQ(tally.Offset(), 20000);
  EXPECT_TRUE(tally.Complete());
}

}  // namespace
}  // namespace kelvo
