#include "desktop/win32/platform_text.h"

#include <cstring>

namespace kelvo {
namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

}  // namespace

std::wstring ToWide(std::string_view utf8) {
  return Widen(CP_UTF8, utf8);
}
std::string FromWide(std::wstring_view wide) {
  return Narrow(CP_UTF8, wide);
}
std::string ToAnsi(std::string_view utf8) {
  return Narrow(CP_ACP, ToWide(utf8));
}
std::string FromAnsi(std::string_view ansi) {
  return FromWide(Widen(CP_ACP, ansi));
}

void CopyToAnsiField(char* field, size_t fieldSize, std::string_view utf8) {
  if (fieldSize == 0) return;
  const std::string ansi = ToAnsi(utf8);
  const size_t room = fieldSize - 1;
  size_t length = 0;
  while (length < ansi.size()) {
    const size_t step = IsDBCSLeadByte(static_cast<BYTE>(ansi[length])) ? 2 : 1;
    if (length + step > room || length + step > ansi.size()) break;
    length += step;
  }
  std::memcpy(field, ansi.data(), length);
  std::memset(field + length, 0, fieldSize - length);
}

}  // namespace kelvo
