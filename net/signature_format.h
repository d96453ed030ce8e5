#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvo {

// ECDSA P-256 as the maker's tools write it (DER signatures, PEM keys) and
// as the Windows verifier takes it (fixed-size big-endian numbers).

// r then s, 32 bytes each.
using P256Signature = std::array<uint8_t, 64>;
// The public point X then Y, 32 bytes each (the body of a
// BCRYPT_ECCPUBLIC_BLOB).
using P256Point = std::array<uint8_t, 64>;
// What is signed and what a down line names: a SHA-256 digest.
using Sha256Digest = std::array<uint8_t, 32>;

// The signature `openssl dgst -sign` writes: SEQUENCE { INTEGER r, INTEGER s }
// in strict DER. Empty for anything else: other tags, lengths that disagree
// with the bytes, long-form or non-minimal lengths, negative or zero
// numbers, numbers wider than 32 bytes, bytes after the sequence.
std::optional<P256Signature> DerSignatureToRaw(std::string_view der);

// The point of a "-----BEGIN PUBLIC KEY-----" block holding a P-256
// SubjectPublicKeyInfo with an uncompressed point (what `openssl ec -pubout`
// writes). Empty for any other key, a point not on the curve, a damaged
// block, or a second block.
std::optional<P256Point> P256PointFromPem(std::string_view pem);

}  // namespace kelvo
