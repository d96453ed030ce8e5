#pragma once
#include <string>
#include <string_view>

#include "net/signature_format.h"

namespace kelvo::publish {

// The maker's side of the signatures, with OpenSSL's libcrypto: the same
// ECDSA P-256 over SHA-256 that `openssl dgst -sha256 -sign` makes.
// Failures throw Refusal (see site_files.h).

// Writes DIR/update-key.pem (the private key, mode 0600; never replaces an
// existing one) and DIR/update-key.pub.pem (what KELVO_UPDATE_KEY names).
void GenerateKeyPair(const std::string& directory);

// The DER signature of `bytes` by the private key in PEM file `keyPath`.
std::string Sign(const std::string& keyPath, std::string_view bytes);

// True when `signature` (DER) is the public key's (PEM file) signature of
// `bytes`.
bool Verify(const std::string& publicKeyPath, std::string_view bytes, std::string_view signature);

Sha256Digest Sha256(std::string_view bytes);

}  // namespace kelvo::publish
