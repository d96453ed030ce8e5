// Stored registry values, whatever another program or the user put there:
// the NoUpdateDate text, the Run entry and the Transparent number. Text
// stops at its first NUL, the Run entry's comparison is a case-blind
// equality, and the user's own Transparent value outranks the machine's.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "desktop/settings_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  if (size < 5) return 0;
  const uint32_t type = data[0] % 8;
  uint32_t number = 0;
  std::memcpy(&number, data + 1, 4);
  // A read never reports more than its buffer.
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 5,
                               std::min(size - 5, kAutoRunBufferSize));

  const std::string text = RegistryStringText(bytes);
  if (text.find('\0') != std::string::npos || !bytes.starts_with(text)) __builtin_trap();
  const std::optional<std::string> entry = AutoRunEntryText(bytes, type);
  if (entry.has_value() != (type == kRegSz || type == kRegExpandSz) || (entry && *entry != text))
    __builtin_trap();
  if (TransparentIsOn(type, static_cast<uint32_t>(bytes.size()), number) !=
      (type == kRegDword && bytes.size() == 4 && number != 0))
    __builtin_trap();
  const StoredNumber stored{type, static_cast<uint32_t>(bytes.size()), number};
  if (TransparentAtStart(stored, StoredNumber{kRegDword, 4, 1}) !=
          TransparentAtStart(stored, std::nullopt) ||
      TransparentAtStart(std::nullopt, stored) != TransparentAtStart(stored, std::nullopt))
    __builtin_trap();

  // The entry against the program's own path: the text read, once folded.
  const std::string folded = PathCaseFold(text);
  if (PathCaseFold(folded) != folded || !NamesThisExecutable(text, folded) ||
      !NamesThisExecutable(folded, text))
    __builtin_trap();
  const std::string exe = ExePathFromModulePath(text);
  if (!exe.ends_with(".exe") || NamesThisExecutable(text, exe) != NamesThisExecutable(exe, text))
    __builtin_trap();
  return 0;
}
