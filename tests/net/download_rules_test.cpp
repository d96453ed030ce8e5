#include "net/download_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kelvo {
namespace {

TEST(ContentLengthHeader, PlainDigitsUpToTheSigned32BitLimitAreTheLength) {
  EXPECT_EQ(ParseContentLength("20000"), 20000);
  EXPECT_EQ(ParseContentLength("0"), 0);
  EXPECT_EQ(ParseContentLength("2147483647"), 2147483647);
  for (const char* header : {"2147483648", "4294967296", "4294987296", "99999999999999999999999999",
                             "", "-5", "+5", "12a", "1 2", "0x10"}) {
    EXPECT_EQ(ParseContentLength(header), std::nullopt) << header;
  }
}

// Only status 200 with a non-zero length is taken, at most 1 MiB in memory
// mode and up to the signed 32-bit limit in file mode.
TEST(ResponseAcceptance, TotalTakenByStatusLengthAndMode) {
  constexpr DownloadMode F = DownloadMode::File, M = DownloadMode::Memory;
  EXPECT_EQ(AcceptedTotal(200, "20000", F), 20000);
  EXPECT_EQ(AcceptedTotal(200, "20000", M), 20000);
  EXPECT_EQ(AcceptedTotal(200, "1048576", M), 1048576);
  EXPECT_EQ(AcceptedTotal(200, "1048577", F), 1048577);
  EXPECT_EQ(AcceptedTotal(200, "2147483647", F), 2147483647);
  for (const uint32_t status : {404u, 302u, 206u, 0u}) {
    EXPECT_EQ(AcceptedTotal(status, "10", F), std::nullopt) << status;
    EXPECT_EQ(AcceptedTotal(status, "10", M), std::nullopt) << status;
  }
  EXPECT_EQ(AcceptedTotal(200, std::nullopt, F), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, std::nullopt, M), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "0", F), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "0", M), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "1048577", M), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "2147483647", M), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "4294967296", F), std::nullopt);
}

TEST(FileTally, ReportsCumulativeTotalsFor20000Bytes) {
  FileTransferTally tally;
  EXPECT_EQ(tally.Received(), 0);
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.Received(), 8192);
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.Received(), 16384);
  EXPECT_TRUE(tally.AddChunk(3616));
  EXPECT_EQ(tally.Received(), 20000);
  EXPECT_FALSE(tally.AddChunk(0));
  EXPECT_EQ(tally.Received(), 20000);
}

TEST(FileTally, CountPast2GiBEndsTheLoopWithoutWrapping) {
  FileTransferTally tally;
  for (int i = 0; i < 262143; ++i) ASSERT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.Received(), 2147475456);
  EXPECT_TRUE(tally.AddChunk(8191));
  EXPECT_EQ(tally.Received(), 2147483647);
  EXPECT_FALSE(tally.AddChunk(1));
  EXPECT_EQ(tally.Received(), 2147483647);
}

TEST(MemoryTally, AsksForAtMostOneChunkAndThenTheRest) {
  MemoryTransferTally tally(20000);
  EXPECT_EQ(tally.NextReadSize(), 8192);
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.NextReadSize(), 8192);
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.NextReadSize(), 3616);
  EXPECT_FALSE(tally.AddChunk(3616));
  EXPECT_TRUE(tally.Complete());
  EXPECT_EQ(tally.Offset(), 20000);
}

TEST(MemoryTally, ShortReadsAreContinued) {
  MemoryTransferTally tally(100);
  EXPECT_TRUE(tally.AddChunk(30));
  EXPECT_EQ(tally.NextReadSize(), 70);
  EXPECT_FALSE(tally.AddChunk(70));
  EXPECT_TRUE(tally.Complete());
}

TEST(MemoryTally, ConnectionClosedEarlyEndsTheLoopIncomplete) {
  MemoryTransferTally tally(20000);
  EXPECT_TRUE(tally.AddChunk(5000));
  EXPECT_FALSE(tally.AddChunk(0));
  EXPECT_FALSE(tally.Complete());
  EXPECT_EQ(tally.Offset(), 5000);
}

TEST(MemoryTally, OversizedReadNeverMovesPastTheBuffer) {
  MemoryTransferTally tally(100);
  EXPECT_FALSE(tally.AddChunk(5000));
  EXPECT_EQ(tally.Offset(), 100);
  EXPECT_TRUE(tally.Complete());
}

}  // namespace
}  // namespace kelvo
