#pragma once
#include <string>
#include <string_view>

#include "desktop/win32/platform_text.h"

namespace kelvo {

// The network and update code's names for the program's text conversions.
inline std::wstring Utf8ToWide(std::string_view text) {
  return ToWide(text);
}
inline std::string WideToUtf8(std::wstring_view text) {
  return FromWide(text);
}
// Bytes in the system's ANSI code page (936 on the target systems) to UTF-8.
inline std::string AnsiToUtf8(std::string_view bytes) {
  return FromAnsi(bytes);
}

}  // namespace kelvo
