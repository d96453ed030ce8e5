#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "net/signature_format.h"

namespace kelvo {

// A down line may name the SHA-256 of its file in a fourth field,
// "sha256=" followed by 64 hexadecimal digits. Older programs read only the
// second and third fields, so one manifest serves them too.

inline constexpr std::string_view kSha256FieldPrefix = "sha256=";

// The digest of a fourth field: "sha256=" and exactly 64 hexadecimal
// digits (either case), nothing else. Empty otherwise.
std::optional<Sha256Digest> ParseSha256Field(std::string_view field);
// 64 lower-case hexadecimal digits.
std::string Sha256Hex(const Sha256Digest& digest);

// Whether the down lines of a manifest (its first line skipped) may run: a
// fourth field that starts with "sha256=" must be a whole digest, and when
// `hashRequired` (the program carries the maker's key) every down line must
// carry one.
bool DownHashesAcceptable(std::string_view manifest, bool hashRequired);

}  // namespace kelvo
