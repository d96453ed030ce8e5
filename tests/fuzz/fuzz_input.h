// What the fuzz targets share: the input as text or as separated fields,
// and a broken invariant stopping the run so libFuzzer keeps the input.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fuzz {
inline std::string_view Text(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
inline std::vector<std::string_view> Split(std::string_view rest, char separator) {
  std::vector<std::string_view> fields;
  for (size_t end; !rest.empty(); rest.remove_prefix(std::min(end + 1, rest.size())))
    fields.push_back(rest.substr(0, end = std::min(rest.find(separator), rest.size())));
  return fields;
}
inline void TrapIf(bool broken) {
  if (broken) __builtin_trap();
}
}  // namespace fuzz
