#include "update/payload_hash.h"

#include <vector>

#include "update/update_script.h"

namespace kelvo {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDownLine(const std::vector<std::string>& fields) {
  if (fields.empty() || fields[0].size() != 4) return false;
  std::string word = fields[0];
  for (char& c : word) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return word == "down";
}

}  // namespace

std::optional<Sha256Digest> ParseSha256Field(std::string_view field) {
  Sha256Digest digest{};
  if (field.substr(0, kSha256FieldPrefix.size()) != kSha256FieldPrefix) return std::nullopt;
  const std::string_view hex = field.substr(kSha256FieldPrefix.size());
  if (hex.size() != 2 * digest.size()) return std::nullopt;
  for (size_t i = 0; i < digest.size(); ++i) {
    const int high = HexValue(hex[2 * i]);
    const int low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    digest[i] = static_cast<uint8_t>(high * 16 + low);
  }
  return digest;
}

std::string Sha256Hex(const Sha256Digest& digest) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xf];
  }
  return hex;
}

bool DownHashesAcceptable(std::string_view manifest, bool hashRequired) {
  const std::vector<std::string> lines = SplitManifestLines(manifest);
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = SplitScriptFields(lines[i]);
    if (!IsDownLine(fields)) continue;
    const bool named = fields.size() > 3 && fields[3].rfind(kSha256FieldPrefix, 0) == 0;
    if (named && !ParseSha256Field(fields[3])) return false;
    if (hashRequired && !named) return false;
  }
  return true;
}

}  // namespace kelvo
