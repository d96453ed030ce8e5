#include "net/download_rules.h"

#include <algorithm>
#include <limits>

namespace kelvo {

std::optional<int32_t> ParseContentLength(std::string_view header) {
  if (header.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : header) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

std::optional<int32_t> AcceptedTotal(uint32_t status, std::optional<std::string_view> lengthHeader,
                                     DownloadMode mode) {
  if (status != 200 || !lengthHeader) return std::nullopt;
  const std::optional<int32_t> total = ParseContentLength(*lengthHeader);
  if (!total || *total == 0) return std::nullopt;
  if (mode == DownloadMode::Memory && *total > kMemoryDownloadLimit) return std::nullopt;
  return total;
}

bool FileTransferTally::AddChunk(uint32_t delivered) {
  if (delivered == 0) return false;
  if (delivered > static_cast<uint32_t>(std::numeric_limits<int32_t>::max() - received_)) {
    return false;
  }
  received_ += static_cast<int32_t>(delivered);
  return true;
}

int32_t MemoryTransferTally::NextReadSize() const {
  return std::min(total_ - offset_, kDownloadChunkSize);
}

bool MemoryTransferTally::AddChunk(uint32_t delivered) {
  if (delivered == 0) return false;
  // A read never delivers more than asked; clamp anyway so the offset can
  // never leave the buffer.
  offset_ += static_cast<int32_t>(std::min<uint32_t>(delivered, NextReadSize()));
  return offset_ < total_;
}

}  // namespace kelvo
