#include "calendar/file_text.h"

#include <cstdint>

namespace kelvo {

int TextCharacters(std::string_view name) {
  int count = 0;
  for (size_t i = 0; i < name.size(); ++count) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(name[k]); };
    const unsigned lead = byte(i);
    size_t length = 1;
    uint32_t value = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, value = lead & 0x07;
    } else if (lead >= 0x80) {
      return -1;
    }
    if (i + length > name.size()) return -1;
    for (size_t k = 1; k < length; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return -1;
      value = value << 6 | (byte(i + k) & 0x3F);
    }
    constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
      return -1;
    if (value < 0x20 || (value >= 0x7F && value <= 0x9F)) return -1;
    i += length;
  }
  return count;
}

std::vector<std::string_view> FileLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find('\n', start);
    std::string_view line = bytes.substr(start, end == std::string_view::npos ? end : end - start);
    if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace kelvo
