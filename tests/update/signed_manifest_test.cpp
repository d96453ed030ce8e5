// What the maker signs and names, as the program reads it: DER signatures and
// PEM keys as the Windows verifier takes them, and down lines' sha256= field.
#include <gtest/gtest.h>

#include "net/signature_format.h"
#include "update/payload_hash.h"

namespace kelvo {
namespace {

// A DER value: tag, short-form length, body.
std::string Der(int tag, const std::string& body) {
  return std::string{static_cast<char>(tag), static_cast<char>(body.size())} + body;
}
// `text` with `count` bytes at `at` replaced by `with`.
std::string Changed(const std::string& text, size_t at, size_t count, const std::string& with) {
  return text.substr(0, at) + with + text.substr(at + count);
}
std::string Integer(size_t count, char fill, bool zeroFirst = false) {
  std::string body(zeroFirst ? 1 : 0, '\0');
  body.append(count, fill);
  return Der(0x02, body);
}

TEST(DerSignatureToRaw, ReadsStrictDerRightAlignedAndRefusesAnythingElse) {
  // A 33-byte r (a zero keeps the high bit from reading as a sign), a 1-byte s.
  const auto raw = DerSignatureToRaw(Der(0x30, Integer(32, '\x81', true) + Integer(1, '\x05')));
  ASSERT_TRUE(raw);
  EXPECT_EQ(((*raw)[0] << 8) | (*raw)[31], 0x8181);
  EXPECT_EQ(((*raw)[32] << 8) | (*raw)[63], 0x0005);

  const std::string r = Integer(32, '\x22'), s = Integer(31, '\x33');
  const std::string good = Der(0x30, r + s);
  // clang-format off
  const std::string cases[] = {
      "", good + '\0', good.substr(0, good.size() - 1),                       // extra byte, cut
      Changed(good, 1, 1, std::string(1, good[1] + 1)),                       // outer length lies
      Changed(good, 3, 1, "\x1f"),                                            // r's length lies
      std::string("\x30\x81", 2) + char(r.size() + s.size()) + r + s,         // long-form length
      Der(0x31, r + s), Der(0x30, Der(0x04, std::string(32, '\x22')) + s),    // wrong tags
      Der(0x30, r + s + s), Der(0x30, r + s + '\0'),                          // more inside
      Der(0x30, Integer(32, '\x81') + s), Der(0x30, Integer(1, '\0') + s),    // negative, zero
      Der(0x30, Integer(31, '\x22', true) + s), Der(0x30, Der(0x02, "") + s), // needless 0, empty
      Der(0x30, Integer(33, '\x22') + s),                                     // wider than 32 bytes
  };
  // clang-format on
  for (const std::string& der : cases)
    EXPECT_FALSE(DerSignatureToRaw(der)) << testing::PrintToString(der);
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
  const std::string cases[] = {"", Changed(kPem, kPem.find("AQcD"), 4, "AQgD"),  // other curve
                               Changed(kPem, kPem.find("=="), 4, ""), Changed(kPem, 30, 1, "*"),
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
