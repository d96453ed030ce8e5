#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvo {

// The decisions of one HTTP download, kept free of WinINet so they can be
// tested on their own: which responses are taken, how big each read is, and
// when a transfer has ended.

// File mode reads and writes in pieces of this size.
inline constexpr int32_t kDownloadChunkSize = 8192;
// Memory mode serves the update manifest and the announcement list, both a
// few kilobytes. A server announcing more is broken or hostile: the download
// fails before anything is allocated.
inline constexpr int32_t kMemoryDownloadLimit = 1 << 20;

enum class DownloadMode { Memory, File };

// The Content-Length header text as a byte count. Only plain decimal digits
// are a length; anything else, or a number beyond 2^31 - 1 (byte counts are
// signed 32-bit), is no length at all.
std::optional<int32_t> ParseContentLength(std::string_view header);

// The total to transfer when a response with this status and Content-Length
// header (empty when missing) is to be read in the given mode; empty when the
// response yields nothing: a status other than 200, no usable or a zero
// length, or in memory mode more than kMemoryDownloadLimit bytes.
std::optional<int32_t> AcceptedTotal(uint32_t status, std::optional<std::string_view> lengthHeader,
                                     DownloadMode mode);

// File mode's running count of bytes received.
class FileTransferTally {
 public:
  // Adds one read's bytes. False when the read delivered nothing (the
  // response is over, or the connection closed early) or when the count
  // would pass 2^31 - 1: either way the loop ends.
  bool AddChunk(uint32_t delivered);
  int32_t Received() const { return received_; }

 private:
  int32_t received_ = 0;
};

// Memory mode's fill of one buffer of exactly `total` bytes.
class MemoryTransferTally {
 public:
  explicit MemoryTransferTally(int32_t total) : total_(total) {}
  // How many bytes the next read may ask for: what is still missing, never
  // more than one chunk.
  int32_t NextReadSize() const;
  // Adds one read's bytes. False when the loop ends: the buffer is full or
  // the read delivered nothing (the connection closed early).
  bool AddChunk(uint32_t delivered);
  int32_t Offset() const { return offset_; }
  bool Complete() const { return offset_ == total_; }

 private:
  int32_t total_;
  int32_t offset_ = 0;
};

}  // namespace kelvo
