#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kelvo::publish {

// The program reads its manifest and list in the ANSI code page of a
// Simplified-Chinese Windows, 936. Empty when the text has a character the
// code page cannot hold (or, decoding, a byte sequence it does not define).
std::optional<std::string> ToCodePage936(std::string_view utf8);
std::optional<std::string> FromCodePage936(std::string_view bytes);

}  // namespace kelvo::publish
