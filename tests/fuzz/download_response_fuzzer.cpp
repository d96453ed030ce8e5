// The Content-Length header and the judgement of a response: a length is
// the header's plain decimal digits, a taken response is a 200 with a
// usable length, and a transfer never counts past what it announced.
#include <cstring>
#include <string>

#include "net/download_rules.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  if (size < 2) return 0;
  const uint32_t status = data[0] == 0 ? 200 : data[0] + 100u;
  const DownloadMode mode = data[1] & 1 ? DownloadMode::File : DownloadMode::Memory;
  const std::string_view header = fuzz::Text(data + 2, size - 2);

  const std::optional<int32_t> length = ParseContentLength(header);
  if (length) {
    const size_t zeros = std::min(header.find_first_not_of('0'), header.size() - 1);
    fuzz::TrapIf(*length < 0 || std::to_string(*length) != header.substr(zeros));
  }
  const std::optional<int32_t> total = AcceptedTotal(status, header, mode);
  fuzz::TrapIf(total && (status != 200 || total != length || *total <= 0 ||
                         (mode == DownloadMode::Memory && *total > kMemoryDownloadLimit)));
  fuzz::TrapIf(AcceptedTotal(status, std::nullopt, mode).has_value());
  if (!total) return 0;

  // The header's bytes again, as the sizes of successive reads.
  MemoryTransferTally memory(*total);
  FileTransferTally file;
  for (size_t i = 2; i + 2 <= size; i += 2) {
    const uint32_t wanted = (data[i] << 8 | data[i + 1]) % (kDownloadChunkSize + 1);
    const int32_t ask = memory.NextReadSize();
    fuzz::TrapIf(ask < 0 || ask > kDownloadChunkSize || ask > *total - memory.Offset());
    const bool more = memory.AddChunk(std::min<uint32_t>(wanted, ask));
    fuzz::TrapIf(memory.Offset() > *total ||
                 more == (memory.Complete() || wanted == 0 || ask == 0));
    const int32_t before = file.Received();
    fuzz::TrapIf(file.AddChunk(wanted) != (wanted > 0) ||
                 file.Received() != before + int32_t(wanted));
    if (!more) break;
  }
  return 0;
}
