// The Content-Length header and the judgement of a response: a length is
// the header's plain decimal digits, a taken response is a 200 with a
// usable length, and a transfer never counts past what it announced.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "net/download_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  if (size < 2) return 0;
  const uint32_t status = data[0] == 0 ? 200 : data[0] + 100u;
  const DownloadMode mode = data[1] & 1 ? DownloadMode::File : DownloadMode::Memory;
  const std::string_view header(reinterpret_cast<const char*>(data) + 2, size - 2);

  const std::optional<int32_t> length = ParseContentLength(header);
  if (length) {
    const size_t zeros = std::min(header.find_first_not_of('0'), header.size() - 1);
    if (*length < 0 || std::to_string(*length) != header.substr(zeros)) __builtin_trap();
  }
  const std::optional<int32_t> total = AcceptedTotal(status, header, mode);
  if (total && (status != 200 || total != length || *total <= 0 ||
                (mode == DownloadMode::Memory && *total > kMemoryDownloadLimit)))
    __builtin_trap();
  if (AcceptedTotal(status, std::nullopt, mode)) __builtin_trap();
  if (!total) return 0;

  // The header's bytes again, as the sizes of successive reads.
  MemoryTransferTally memory(*total);
  FileTransferTally file;
  for (size_t i = 2; i + 2 <= size; i += 2) {
    const uint32_t wanted = (data[i] << 8 | data[i + 1]) % (kDownloadChunkSize + 1);
    const int32_t ask = memory.NextReadSize();
    if (ask < 0 || ask > kDownloadChunkSize || ask > *total - memory.Offset()) __builtin_trap();
    const bool more = memory.AddChunk(std::min<uint32_t>(wanted, ask));
    if (memory.Offset() > *total || more == (memory.Complete() || wanted == 0 || ask == 0))
      __builtin_trap();
    const int32_t before = file.Received();
    if (file.AddChunk(wanted) != (wanted > 0) || file.Received() != before + int32_t(wanted))
      __builtin_trap();
    if (!more) break;
  }
  return 0;
}
