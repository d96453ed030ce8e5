// DER signatures as the program reads them: an accepted one is 64 bytes
// that OpenSSL (which made it) writes back as the very same DER, and
// anything OpenSSL would not write is refused.
#include <openssl/bn.h>
#include <openssl/ecdsa.h>
#include <openssl/err.h>

#include <cstring>

#include "net/signature_format.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view der = fuzz::Text(data, size);
  const std::optional<kelvo::P256Signature> raw = kelvo::DerSignatureToRaw(der);

  const unsigned char* at = data;
  ECDSA_SIG* read = d2i_ECDSA_SIG(nullptr, &at, static_cast<long>(size));
  bool strict = read && at == data + size;
  if (strict) {
    const BIGNUM* r = ECDSA_SIG_get0_r(read);
    const BIGNUM* s = ECDSA_SIG_get0_s(read);
    unsigned char* written = nullptr;
    const int length = i2d_ECDSA_SIG(read, &written);
    strict = length == static_cast<int>(size) && std::memcmp(written, data, size) == 0 &&
             !BN_is_negative(r) && !BN_is_zero(r) && BN_num_bytes(r) <= 32 && !BN_is_negative(s) &&
             !BN_is_zero(s) && BN_num_bytes(s) <= 32;
    OPENSSL_free(written);
  }
  ECDSA_SIG_free(read);
  ERR_clear_error();  // refusals leave no errors behind for the next input
  fuzz::TrapIf(strict != raw.has_value());
  if (!raw) return 0;

  ECDSA_SIG* rebuilt = ECDSA_SIG_new();
  ECDSA_SIG_set0(rebuilt, BN_bin2bn(raw->data(), 32, nullptr),
                 BN_bin2bn(raw->data() + 32, 32, nullptr));
  unsigned char* written = nullptr;
  const int length = i2d_ECDSA_SIG(rebuilt, &written);
  fuzz::TrapIf(raw->size() != 64 || length != static_cast<int>(size) ||
               std::memcmp(written, data, size) != 0);
  OPENSSL_free(written);
  ECDSA_SIG_free(rebuilt);
  return 0;
}
