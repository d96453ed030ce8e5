#include "tools/publish/code_page_936.h"

#include <iconv.h>

#include <cerrno>

namespace kelvo::publish {
namespace {

// One iconv conversion; no transliteration, so an unmappable character
// fails the whole text.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outAt = out.data();
  size_t outLeft = out.size();
  const size_t result = iconv(cd, &in, &inLeft, &outAt, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> ToCodePage936(std::string_view utf8) {
  return Convert("CP936", "UTF-8", utf8);
}

std::optional<std::string> FromCodePage936(std::string_view bytes) {
  return Convert("UTF-8", "CP936", bytes);
}

}  // namespace kelvo::publish
