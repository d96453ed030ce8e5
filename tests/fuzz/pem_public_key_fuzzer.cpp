// PEM public keys as the program reads the maker's key: an accepted key's
// point, written out again as `openssl ec -pubout` would, reads back the
// same, and where OpenSSL reads the same text as a P-256 key it finds the
// same point.
#include <openssl/bio.h>
#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <string>

#include "net/signature_format.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// The uncompressed point OpenSSL reads from a PEM text; empty when it reads
// no P-256 key.
std::optional<kelvo::P256Point> OpenSslPoint(std::string_view pem) {
  BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  EVP_PKEY* key = PEM_read_bio_PUBKEY(bio, nullptr, nullptr, nullptr);
  BIO_free(bio);
  std::optional<kelvo::P256Point> point;
  unsigned char octets[65];
  size_t length = 0;
  char group[32] = {};
  if (key && EVP_PKEY_get_group_name(key, group, sizeof group, nullptr) &&
      std::string_view(group) == "prime256v1" &&
      EVP_PKEY_get_octet_string_param(key, "encoded-pub-key", octets, sizeof octets, &length) &&
      length == 65 && octets[0] == 4) {
    point.emplace();
    std::copy(octets + 1, octets + 65, point->begin());
  }
  EVP_PKEY_free(key);
  ERR_clear_error();  // refusals leave no errors behind for the next input
  return point;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  const std::optional<kelvo::P256Point> point = kelvo::P256PointFromPem(text);
  if (!point) return 0;
  const std::optional<kelvo::P256Point> openssl = OpenSslPoint(text);
  fuzz::TrapIf(openssl && openssl != point);

  // The SubjectPublicKeyInfo of a P-256 point, base64 in 64-character lines.
  std::string der(
      "\x30\x59\x30\x13\x06\x07\x2a\x86\x48\xce\x3d\x02\x01\x06\x08\x2a\x86\x48"
      "\xce\x3d\x03\x01\x07\x03\x42\x00\x04",
      27);
  der.append(point->begin(), point->end());
  unsigned char base64[128];
  const int length = EVP_EncodeBlock(base64, reinterpret_cast<const unsigned char*>(der.data()),
                                     static_cast<int>(der.size()));
  const std::string body(reinterpret_cast<char*>(base64), length);
  const std::string pem = "-----BEGIN PUBLIC KEY-----\n" + body.substr(0, 64) + "\n" +
                          body.substr(64) + "\n-----END PUBLIC KEY-----\n";
  fuzz::TrapIf(kelvo::P256PointFromPem(pem) != point);
  const std::optional<kelvo::P256Point> canonical = OpenSslPoint(pem);
  fuzz::TrapIf(canonical && canonical != point);
  return 0;
}
