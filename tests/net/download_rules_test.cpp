#include "net/download_rules.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// Which responses are taken (lengths a 32-bit count would wrap included),
// and that a transfer adds up its reads until an empty one, is pinned by
// tests/fuzz/download_response_fuzzer; its inputs never reach the limit.
TEST(FileTally, StopsAtThe2GiBLimit) {
  FileTransferTally tally;
  for (int i = 0; i < 262143; ++i) ASSERT_TRUE(tally.AddChunk(8192));
  EXPECT_TRUE(tally.AddChunk(8191));  // to exactly 2^31 - 1
  EXPECT_EQ(tally.Received(), INT32_MAX);
  EXPECT_FALSE(tally.AddChunk(1));
  EXPECT_EQ(tally.Received(), INT32_MAX);
}

}  // namespace
}  // namespace kelvo
