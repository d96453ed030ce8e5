#pragma once
#include <windows.h>

#include <bcrypt.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "net/signature_format.h"

namespace kelvo {

// Owns one CNG object and gives it back to bcrypt when dropped.
template <typename Handle, NTSTATUS(WINAPI* Release)(Handle)>
class BCryptOwned {
 public:
  BCryptOwned() = default;
  explicit BCryptOwned(Handle handle) : handle_(handle) {}
  BCryptOwned(const BCryptOwned&) = delete;
  BCryptOwned& operator=(const BCryptOwned&) = delete;
  BCryptOwned(BCryptOwned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  BCryptOwned& operator=(BCryptOwned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~BCryptOwned() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_) Release(std::exchange(handle_, nullptr));
  }

 private:
  Handle handle_ = nullptr;
};

inline NTSTATUS WINAPI CloseAlgorithm(BCRYPT_ALG_HANDLE handle) {
  return BCryptCloseAlgorithmProvider(handle, 0);
}
using BCryptAlgorithm = BCryptOwned<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using BCryptKey = BCryptOwned<BCRYPT_KEY_HANDLE, BCryptDestroyKey>;
using BCryptHashObject = BCryptOwned<BCRYPT_HASH_HANDLE, BCryptDestroyHash>;

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
