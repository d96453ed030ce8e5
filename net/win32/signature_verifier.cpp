#include "net/win32/signature_verifier.h"

#include <cstring>
#include <vector>

#include "desktop/win32/platform_text.h"
#include "net/win32/file_handle.h"

namespace kelvo {
namespace {

bool Succeeded(NTSTATUS status) {
  return status >= 0;
}

// Feeds SHA-256 piece by piece, so a file need not be read whole.
class Sha256Stream {
 public:
  Sha256Stream() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
      return;
    algorithm_ = BCryptAlgorithm(algorithm);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (Succeeded(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0)))
      hash_ = BCryptHashObject(hash);
  }
  bool Add(const void* bytes, size_t count) {
    return hash_ &&
           Succeeded(BCryptHashData(hash_.Get(), static_cast<PUCHAR>(const_cast<void*>(bytes)),
                                    static_cast<ULONG>(count), 0));
  }
  std::optional<Sha256Digest> Finish() {
    Sha256Digest digest{};
    if (!hash_ || !Succeeded(BCryptFinishHash(hash_.Get(), digest.data(),
                                              static_cast<ULONG>(digest.size()), 0)))
      return std::nullopt;
    return digest;
  }

 private:
  // The hash belongs to the provider, so it goes first.
  BCryptAlgorithm algorithm_;
  BCryptHashObject hash_;
};

}  // namespace

std::optional<SignatureVerifier> SignatureVerifier::FromPem(std::string_view pem) {
  const std::optional<P256Point> point = P256PointFromPem(pem);
  if (!point) return std::nullopt;
  BCRYPT_ALG_HANDLE algorithmHandle = nullptr;
  if (!Succeeded(
          BCryptOpenAlgorithmProvider(&algorithmHandle, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
    return std::nullopt;
  BCryptAlgorithm algorithm(algorithmHandle);

  // BCRYPT_ECCPUBLIC_BLOB: the header, then X and Y.
  std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + point->size());
  BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC,
                               static_cast<ULONG>(point->size() / 2)};
  std::memcpy(blob.data(), &header, sizeof header);
  std::memcpy(blob.data() + sizeof header, point->data(), point->size());
  BCRYPT_KEY_HANDLE keyHandle = nullptr;
  if (!Succeeded(BCryptImportKeyPair(algorithm.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &keyHandle,
                                     blob.data(), static_cast<ULONG>(blob.size()), 0)))
    return std::nullopt;
  return SignatureVerifier(std::move(algorithm), BCryptKey(keyHandle));
}

bool SignatureVerifier::Verifies(std::string_view message, std::string_view derSignature) const {
  std::optional<P256Signature> raw = DerSignatureToRaw(derSignature);
  std::optional<Sha256Digest> digest = Sha256Of(message);
  if (!raw || !digest) return false;
  return Succeeded(BCryptVerifySignature(key_.Get(), nullptr, digest->data(),
                                         static_cast<ULONG>(digest->size()), raw->data(),
                                         static_cast<ULONG>(raw->size()), 0));
}

std::optional<Sha256Digest> Sha256Of(std::string_view bytes) {
  Sha256Stream stream;
  if (!stream.Add(bytes.data(), bytes.size())) return std::nullopt;
  return stream.Finish();
}

std::optional<Sha256Digest> Sha256OfFile(const std::string& path) {
  const std::wstring widePath = ToWide(path);
  FileHandle file(CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  Sha256Stream stream;
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr))
      return std::nullopt;
    if (read == 0) break;
    if (!stream.Add(chunk.data(), read)) return std::nullopt;
  }
  return stream.Finish();
}

}  // namespace kelvo
