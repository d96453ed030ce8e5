#include "net/download_rules.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// Which responses are taken is pinned by tests/fuzz/download_response_fuzzer.

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
