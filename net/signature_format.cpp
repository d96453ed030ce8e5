#include "net/signature_format.h"

#include <algorithm>
#include <string>

#include "net/p256_curve.h"

namespace kelvo {
namespace {

constexpr uint8_t kSequenceTag = 0x30;
constexpr uint8_t kIntegerTag = 0x02;
constexpr size_t kNumberSize = 32;

// Reads one tag-length-value with a short-form length (every value in a
// P-256 signature is shorter than 128 bytes, so a long form is never
// minimal DER). Advances `at` past it.
std::optional<std::string_view> ReadValue(std::string_view der, size_t& at, uint8_t tag) {
  if (der.size() - at < 2 || static_cast<uint8_t>(der[at]) != tag) return std::nullopt;
  const auto length = static_cast<uint8_t>(der[at + 1]);
  if (length >= 0x80 || der.size() - at - 2 < length) return std::nullopt;
  const std::string_view value = der.substr(at + 2, length);
  at += 2 + length;
  return value;
}

// A positive DER INTEGER of at most 32 significant bytes, right-aligned
// into `out`.
bool ReadNumber(std::string_view der, size_t& at, uint8_t* out) {
  const std::optional<std::string_view> value = ReadValue(der, at, kIntegerTag);
  if (!value || value->empty()) return false;
  std::string_view digits = *value;
  if (static_cast<uint8_t>(digits[0]) & 0x80) return false;  // negative
  if (digits.size() > 1 && digits[0] == 0) {
    // One zero byte only keeps a high bit from reading as a sign.
    if (!(static_cast<uint8_t>(digits[1]) & 0x80)) return false;
    digits.remove_prefix(1);
  }
  if (digits.size() > kNumberSize) return false;
  if (digits.size() == 1 && digits[0] == 0) return false;
  std::fill(out, out + kNumberSize, uint8_t{0});
  for (size_t i = 0; i < digits.size(); ++i) {
    out[kNumberSize - digits.size() + i] = static_cast<uint8_t>(digits[i]);
  }
  return true;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Base64 with line breaks and "=" padding; empty on any other character.
std::optional<std::string> DecodeBase64(std::string_view text) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  bool padded = false;
  for (char c : text) {
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t') continue;
    if (c == '=') {
      padded = true;
      continue;
    }
    const int value = Base64Value(c);
    if (value < 0 || padded) return std::nullopt;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xff);
    }
  }
  return out;
}

// SubjectPublicKeyInfo { { id-ecPublicKey, prime256v1 }, BIT STRING 04 X Y }:
// everything before X is the same for every P-256 key.
constexpr uint8_t kP256KeyPrefix[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48,
                                      0xce, 0x3d, 0x02, 0x01, 0x06, 0x08, 0x2a, 0x86, 0x48,
                                      0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04};

constexpr std::string_view kPemBegin = "-----BEGIN PUBLIC KEY-----";
constexpr std::string_view kPemEnd = "-----END PUBLIC KEY-----";

// The first `marker` from `from` on that is a line of its own (trailing
// spaces and control characters aside), as OpenSSL finds PEM boundaries: a
// marker inside a line is no boundary, so the program and the maker's tools
// read the same block of a file.
size_t FindMarkerLine(std::string_view text, std::string_view marker, size_t from) {
  for (size_t at = text.find(marker, from); at != std::string_view::npos;
       at = text.find(marker, at + 1)) {
    if (at != 0 && text[at - 1] != '\n') continue;
    size_t end = at + marker.size();
    while (end < text.size() && text[end] != '\n' && static_cast<uint8_t>(text[end]) <= ' ') ++end;
    if (end == text.size() || text[end] == '\n') return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<P256Signature> DerSignatureToRaw(std::string_view der) {
  size_t at = 0;
  const std::optional<std::string_view> body = ReadValue(der, at, kSequenceTag);
  if (!body || at != der.size()) return std::nullopt;
  P256Signature raw{};
  size_t inner = 0;
  if (!ReadNumber(*body, inner, raw.data())) return std::nullopt;
  if (!ReadNumber(*body, inner, raw.data() + kNumberSize)) return std::nullopt;
  if (inner != body->size()) return std::nullopt;
  return raw;
}

std::optional<P256Point> P256PointFromPem(std::string_view pem) {
  const size_t begin = FindMarkerLine(pem, kPemBegin, 0);
  if (begin == std::string_view::npos) return std::nullopt;
  const size_t from = begin + kPemBegin.size();
  const size_t end = FindMarkerLine(pem, kPemEnd, from);
  if (end == std::string_view::npos) return std::nullopt;
  // A second key makes the file ambiguous: OpenSSL passes over a block it
  // cannot use and takes the next, where the program would take the first.
  if (FindMarkerLine(pem, kPemBegin, end) != std::string_view::npos) return std::nullopt;
  const std::optional<std::string> der = DecodeBase64(pem.substr(from, end - from));
  P256Point point{};
  if (!der || der->size() != sizeof kP256KeyPrefix + point.size()) return std::nullopt;
  for (size_t i = 0; i < sizeof kP256KeyPrefix; ++i) {
    if (static_cast<uint8_t>((*der)[i]) != kP256KeyPrefix[i]) return std::nullopt;
  }
  for (size_t i = 0; i < point.size(); ++i) {
    point[i] = static_cast<uint8_t>((*der)[sizeof kP256KeyPrefix + i]);
  }
  if (!IsOnP256(point)) return std::nullopt;
  return point;
}

}  // namespace kelvo
