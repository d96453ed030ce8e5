#pragma once
#include <string>
#include <string_view>

namespace kelvo {

// Conversions between the core's UTF-8 and the platform's encodings.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Bytes in the system's ANSI code page (936 on the target systems) to UTF-8.
std::string AnsiToUtf8(std::string_view bytes);

}  // namespace kelvo
