// Stored registry values, whatever another program or the user put there:
// the NoUpdateDate text, the Run entry and the Transparent number. Text
// stops at its first NUL, the Run entry's comparison is a case-blind
// equality, and the user's own Transparent value outranks the machine's.
#include <cstring>
#include <string>

#include "desktop/settings_rules.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  if (size < 5) return 0;
  const uint32_t type = data[0] % 8;
  uint32_t number = 0;
  std::memcpy(&number, data + 1, 4);
  // A read never reports more than its buffer.
  const std::string_view bytes = fuzz::Text(data + 5, std::min(size - 5, kAutoRunBufferSize));

  const std::string text = RegistryStringText(bytes);
  fuzz::TrapIf(text.find('\0') != std::string::npos || !bytes.starts_with(text));
  const std::optional<std::string> entry = AutoRunEntryText(bytes, type);
  fuzz::TrapIf(entry.has_value() != (type == kRegSz || type == kRegExpandSz) ||
               (entry && *entry != text));
  fuzz::TrapIf(TransparentIsOn(type, static_cast<uint32_t>(bytes.size()), number) !=
               (type == kRegDword && bytes.size() == 4 && number != 0));
  const StoredNumber stored{type, static_cast<uint32_t>(bytes.size()), number};
  fuzz::TrapIf(TransparentAtStart(stored, StoredNumber{kRegDword, 4, 1}) !=
                   TransparentAtStart(stored, std::nullopt) ||
               TransparentAtStart(std::nullopt, stored) !=
                   TransparentAtStart(stored, std::nullopt));

  // The entry against the program's own path: the text read, once folded.
  const std::string folded = PathCaseFold(text);
  fuzz::TrapIf(PathCaseFold(folded) != folded || !NamesThisExecutable(text, folded) ||
               !NamesThisExecutable(folded, text));
  const std::string exe = ExePathFromModulePath(text);
  fuzz::TrapIf(!exe.ends_with(".exe") ||
               NamesThisExecutable(text, exe) != NamesThisExecutable(exe, text));
  return 0;
}
