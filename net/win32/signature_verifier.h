#pragma once
#include <windows.h>

#include <bcrypt.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "desktop/win32/unique_handle.h"
#include "net/signature_format.h"

namespace kelvo {

inline NTSTATUS WINAPI CloseAlgorithm(BCRYPT_ALG_HANDLE handle) {
  return BCryptCloseAlgorithmProvider(handle, 0);
}
using BCryptAlgorithm = UniqueHandle<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using BCryptKey = UniqueHandle<BCRYPT_KEY_HANDLE, BCryptDestroyKey>;
using BCryptHashObject = UniqueHandle<BCRYPT_HASH_HANDLE, BCryptDestroyHash>;

// Checks ECDSA P-256 signatures over SHA-256 with one public key, through
// the Windows CNG API (part of Windows and of Wine, so no library ships
// with the program).
class SignatureVerifier {
 public:
  // Empty when the text is no P-256 public key or CNG refuses it.
  static std::optional<SignatureVerifier> FromPem(std::string_view pem);

  // True when `derSignature` (as `openssl dgst -sha256 -sign` writes it) is
  // this key's signature of `message`.
  bool Verifies(std::string_view message, std::string_view derSignature) const;

 private:
  SignatureVerifier(BCryptAlgorithm algorithm, BCryptKey key)
      : algorithm_(std::move(algorithm)), key_(std::move(key)) {}
  // The key belongs to the provider, so it goes first.
  BCryptAlgorithm algorithm_;
  BCryptKey key_;
};

// SHA-256 of bytes in memory, or of a whole file (UTF-8 path); empty when
// CNG or the file fails.
std::optional<Sha256Digest> Sha256Of(std::string_view bytes);
std::optional<Sha256Digest> Sha256OfFile(const std::string& path);

}  // namespace kelvo
