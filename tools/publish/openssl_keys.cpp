#include "tools/publish/openssl_keys.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "tools/publish/site_files.h"

namespace kelvo::publish {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct DigestFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FileClose {
  void operator()(FILE* file) const { fclose(file); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestFree>;
using File = std::unique_ptr<FILE, FileClose>;

File OpenForReading(const std::string& path) {
  File file(fopen(path.c_str(), "rb"));
  if (!file) throw Refusal("cannot read " + path);
  return file;
}

// Created, never replaced: a maker's only private key must not be lost to
// a second keygen.
File CreateNew(const std::string& path, mode_t mode) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
  if (fd < 0) throw Refusal("cannot create " + path + " (it may already exist)");
  fchmod(fd, mode);
  return File(fdopen(fd, "wb"));
}

Key ReadPrivateKey(const std::string& path) {
  File file = OpenForReading(path);
  Key key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
  if (!key || EVP_PKEY_get_bits(key.get()) != 256 || !EVP_PKEY_is_a(key.get(), "EC"))
    throw Refusal(path + " is not an ECDSA P-256 private key in PEM");
  return key;
}

Key ReadPublicKey(const std::string& path) {
  File file = OpenForReading(path);
  Key key(PEM_read_PUBKEY(file.get(), nullptr, nullptr, nullptr));
  if (!key || EVP_PKEY_get_bits(key.get()) != 256 || !EVP_PKEY_is_a(key.get(), "EC"))
    throw Refusal(path + " is not an ECDSA P-256 public key in PEM");
  return key;
}

}  // namespace

void GenerateKeyPair(const std::string& directory) {
  Key key(EVP_EC_gen("P-256"));
  if (!key) throw Refusal("OpenSSL could not make a P-256 key");
  const std::string privatePath = directory + "/update-key.pem";
  const std::string publicPath = directory + "/update-key.pub.pem";
  File publicFile = CreateNew(publicPath, 0644);
  File privateFile = CreateNew(privatePath, 0600);
  if (!PEM_write_PrivateKey(privateFile.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) ||
      !PEM_write_PUBKEY(publicFile.get(), key.get()))
    throw Refusal("cannot write the key files in " + directory);
}

std::string Sign(const std::string& keyPath, std::string_view bytes) {
  const Key key = ReadPrivateKey(keyPath);
  DigestContext context(EVP_MD_CTX_new());
  size_t size = 0;
  if (!context ||
      EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &size,
                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1)
    throw Refusal("OpenSSL could not sign with " + keyPath);
  std::string signature(size, '\0');
  if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1)
    throw Refusal("OpenSSL could not sign with " + keyPath);
  signature.resize(size);
  return signature;
}

bool Verify(const std::string& publicKeyPath, std::string_view bytes, std::string_view signature) {
  const Key key = ReadPublicKey(publicKeyPath);
  DigestContext context(EVP_MD_CTX_new());
  return context &&
         EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
         EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                          signature.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                          bytes.size()) == 1;
}

Sha256Digest Sha256(std::string_view bytes) {
  Sha256Digest digest{};
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(), nullptr);
  return digest;
}

}  // namespace kelvo::publish
