#include "net/download_rules.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// Which responses are taken, and that a transfer adds up its reads until an
// empty one, is pinned by tests/fuzz/download_response_fuzzer; its inputs
// never reach the limit.
TEST(FileTally, StopsAtThe2GiBLimit) {
  FileTransferTally tally;
  for (int i = 0; i < 262143; ++i) ASSERT_TRUE(tally.AddChunk(8192));
  EXPECT_TRUE(tally.AddChunk(8191));  // to exactly 2^31 - 1
  EXPECT_EQ(tally.Received(), INT32_MAX);
  EXPECT_FALSE(tally.AddChunk(1));
  EXPECT_EQ(tally.Received(), INT32_MAX);
}

// A length a 32-bit DWORD or size_t would wrap is no length at all.
TEST(ContentLength, NoLengthFrom2GiBOn) {
  EXPECT_EQ(ParseContentLength("2147483647"), INT32_MAX);
  for (const char* header :
       {"2147483648", "4294967295", "4294967296", "4294967297", "18446744073709551617"})
    EXPECT_FALSE(AcceptedTotal(200, header, DownloadMode::File)) << header;
}

}  // namespace
}  // namespace kelvo
