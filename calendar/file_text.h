#pragma once
// What the engine's text files (holidays, own days) share.
#include <string_view>
#include <vector>

namespace kelvo {

// Characters of a name in strict UTF-8 (no overlong forms, surrogates or
// values past U+10FFFF), or -1 when it is not such text or holds a C0 or C1
// control character or DEL.
int TextCharacters(std::string_view name);

// The lines of a file, split at LF with a CR before it dropped. A line end
// after the last line adds no line, so an empty line in the result is one
// the file really has.
std::vector<std::string_view> FileLines(std::string_view bytes);

}  // namespace kelvo
