#include "net/download_rules.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(ContentLengthHeader, PlainDigitsAreTheLength) {
  EXPECT_EQ(ParseContentLength("20000"), 20000);
  EXPECT_EQ(ParseContentLength("0"), 0);
  EXPECT_EQ(ParseContentLength("2147483647"), 2147483647);
}

TEST(ContentLengthHeader, LengthsBeyondSigned32BitAreNoLength) {
  EXPECT_EQ(ParseContentLength("2147483648"), std::nullopt);
  EXPECT_EQ(ParseContentLength("4294967296"), std::nullopt);
  EXPECT_EQ(ParseContentLength("4294987296"), std::nullopt);
  EXPECT_EQ(ParseContentLength("99999999999999999999999999"), std::nullopt);
}

TEST(ContentLengthHeader, AnythingButDigitsIsNoLength) {
  EXPECT_EQ(ParseContentLength(""), std::nullopt);
  EXPECT_EQ(ParseContentLength("-5"), std::nullopt);
  EXPECT_EQ(ParseContentLength("+5"), std::nullopt);
  EXPECT_EQ(ParseContentLength("12a"), std::nullopt);
  EXPECT_EQ(ParseContentLength("1 2"), std::nullopt);
  EXPECT_EQ(ParseContentLength("0x10"), std::nullopt);
}

TEST(ResponseAcceptance, Status200WithLengthIsTakenInBothModes) {
  EXPECT_EQ(AcceptedTotal(200, "20000", DownloadMode::File), 20000);
  EXPECT_EQ(AcceptedTotal(200, "20000", DownloadMode::Memory), 20000);
}

TEST(ResponseAcceptance, OtherStatusesYieldNothing) {
  EXPECT_EQ(AcceptedTotal(404, "10", DownloadMode::File), std::nullopt);
  EXPECT_EQ(AcceptedTotal(302, "10", DownloadMode::Memory), std::nullopt);
  EXPECT_EQ(AcceptedTotal(206, "10", DownloadMode::File), std::nullopt);
  EXPECT_EQ(AcceptedTotal(0, "10", DownloadMode::File), std::nullopt);
}

TEST(ResponseAcceptance, MissingOrZeroLengthYieldsNothing) {
  EXPECT_EQ(AcceptedTotal(200, std::nullopt, DownloadMode::File), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, std::nullopt, DownloadMode::Memory), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "0", DownloadMode::File), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "0", DownloadMode::Memory), std::nullopt);
}

TEST(ResponseAcceptance, MemoryModeTakesAtMostOneMebibyte) {
  EXPECT_EQ(AcceptedTotal(200, "1048576", DownloadMode::Memory), 1048576);
  EXPECT_EQ(AcceptedTotal(200, "1048577", DownloadMode::Memory), std::nullopt);
  EXPECT_EQ(AcceptedTotal(200, "2147483647", DownloadMode::Memory), std::nullopt);
}

TEST(ResponseAcceptance, FileModeTakesLargeBodiesUpToTheSigned32BitLimit) {
  EXPECT_EQ(AcceptedTotal(200, "1048577", DownloadMode::File), 1048577);
  EXPECT_EQ(AcceptedTotal(200, "2147483647", DownloadMode::File), 2147483647);
  EXPECT_EQ(AcceptedTotal(200, "4294967296", DownloadMode::File), std::nullopt);
}

TEST(FileTally, ReportsCumulativeTotalsFor20000Bytes) {
  FileTransferTally tally;
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.Received(), 8192);
  EXPECT_TRUE(tally.AddChunk(8192));
  EXPECT_EQ(tally.Received(), 16384);
  EXPECT_TRUE(tally.AddChunk(3616));
  EXPECT_EQ(tally.Received(), 20000);
  EXPECT_FALSE(tally.AddChunk(0));
  EXPECT_EQ(tally.Received(), 20000);
}

TEST(FileTally, EmptyReadEndsTheLoop) {
  FileTransferTally tally;
  EXPECT_FALSE(tally.AddChunk(0));
  EXPECT_EQ(tally.Received(), 0);
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
