// What the maker signs and names, as the program reads it: PEM keys as the
// Windows verifier takes them, and down lines' sha256= field (DER signatures
// are checked against OpenSSL by tests/fuzz/der_signature_fuzzer).
#include <gtest/gtest.h>

#include "net/signature_format.h"
#include "update/payload_hash.h"

namespace kelvo {
namespace {

// `text` with `count` bytes at `at` replaced by `with`.
std::string Changed(const std::string& text, size_t at, size_t count, const std::string& with) {
  return text.substr(0, at) + with + text.substr(at + count);
}

// `openssl ec -pubout` of a P-256 key.
const std::string kPem =
    "-----BEGIN PUBLIC KEY-----\n"
    "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAEbntTPvko7apsE6qFoDe+Zkn4/ISY\n"
    "nsVA9et7HISzgP05NwnYNZ3utxCtDTcGAF1UzYGVnyikU1N8XbXjrFr+iA==\n"
    "-----END PUBLIC KEY-----\n";

TEST(P256PointFromPem, ReadsTheUncompressedPointOfP256KeysOnly) {
  const auto point = P256PointFromPem(kPem);
  ASSERT_TRUE(point);
  EXPECT_EQ(((*point)[0] << 8) | (*point)[1], 0x6e7b);
  EXPECT_EQ(((*point)[62] << 8) | (*point)[63], 0xfe88);
  const std::string cases[] = {"",
                               Changed(kPem, kPem.find("AQcD"), 4, "AQgD"),  // other curve
                               Changed(kPem, kPem.find("=="), 4, ""),
                               Changed(kPem, kPem.find("iA=="), 1, "j"),  // off the curve
                               Changed(kPem, 30, 1, "*"),
                               Changed(kPem, 26, 1, ""),  // the body on the BEGIN line
                               Changed(kPem, kPem.find("BEGIN PUBLIC"), 12, "BEGIN EC PRI")};
  for (const std::string& pem : cases) EXPECT_FALSE(P256PointFromPem(pem)) << pem;
}

const std::string kHex = "00112233445566778899aabbccddeeffFFEEDDCCBBAA99887766554433221100";

TEST(PayloadHash, MalformedFieldsNeverRunAndMissingOnesOnlyWithoutAKey) {
  const struct {
    std::string script;
    bool withoutKey, withKey;
  } cases[] = {
      {"run|apppath:a.exe\r\n", true, true},
      {"down|http://h/a.exe|apppath:|sha256=" + kHex + "\r\nrun|apppath:a.exe", true, true},
      {"DOWN|http://h/b.exe|apppath:\r\n", true, false},
      {"down|http://h/a.exe|apppath:|other\r\n", true, false},
      {"down|http://h/a.exe|apppath:|sha256=" + kHex.substr(2) + "\r\n", false, false},
      {"down|http://h/a.exe|apppath:|sha256=" + kHex.substr(1) + "g\r\n", false, false},
      {"down|http://h/a.exe|apppath:|sha256=" + kHex + "0\r\n", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DownHashesAcceptable("Version=1.0.1\r\n" + c.script, false), c.withoutKey)
        << c.script;
    EXPECT_EQ(DownHashesAcceptable("Version=1.0.1\r\n" + c.script, true), c.withKey) << c.script;
  }
  EXPECT_TRUE(DownHashesAcceptable("down|http://h/a.exe|apppath:", true)) << "the version line";
}

}  // namespace
}  // namespace kelvo
