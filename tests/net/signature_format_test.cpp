// The DER signatures and PEM keys of the maker's tools, turned into the
// fixed-size numbers the Windows verifier takes.
#include "net/signature_format.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// An INTEGER of `count` bytes, each `fill`, after an optional zero byte.
std::string Integer(size_t count, int fill, bool zeroFirst = false) {
  std::string body = (zeroFirst ? Bytes({0}) : "") + std::string(count, static_cast<char>(fill));
  return Bytes({0x02, static_cast<int>(body.size())}) + body;
}

std::string Sequence(const std::string& body) {
  return Bytes({0x30, static_cast<int>(body.size())}) + body;
}

TEST(DerSignatureToRaw, ReadsWellFormedSignaturesRightAligned) {
  // High bit set: the usual 33-byte form with one leading zero.
  auto raw = DerSignatureToRaw(Sequence(Integer(32, 0x81, true) + Integer(32, 0x7f)));
  ASSERT_TRUE(raw);
  EXPECT_EQ((*raw)[0], 0x81);
  EXPECT_EQ((*raw)[31], 0x81);
  EXPECT_EQ((*raw)[32], 0x7f);
  // Short r and s (leading zero bytes of the number dropped) are padded.
  raw = DerSignatureToRaw(Sequence(Integer(30, 0x11) + Integer(1, 0x05)));
  ASSERT_TRUE(raw);
  EXPECT_EQ((*raw)[0], 0);
  EXPECT_EQ((*raw)[1], 0);
  EXPECT_EQ((*raw)[2], 0x11);
  EXPECT_EQ((*raw)[62], 0);
  EXPECT_EQ((*raw)[63], 0x05);
}

TEST(DerSignatureToRaw, RefusesEverythingElse) {
  const std::string r = Integer(32, 0x22);
  const std::string s = Integer(32, 0x33);
  const std::string good = Sequence(r + s);
  std::string lies = good;
  lies[1] = static_cast<char>(good[1] + 1);  // outer length longer than the bytes
  std::string shortInner = good;
  shortInner[3] = 31;  // r claims 31 bytes: s no longer parses
  const struct {
    const char* what;
    std::string der;
  } cases[] = {
      {"empty", ""},
      {"trailing garbage", good + Bytes({0})},
      {"outer length lies", lies},
      {"inner length lies", shortInner},
      {"cut short", good.substr(0, good.size() - 1)},
      {"long-form length", Bytes({0x30, 0x81, 68}) + r + s},
      {"set, not sequence", Bytes({0x31, 68}) + r + s},
      {"octet string, not integer", Sequence(Bytes({0x04, 32}) + std::string(32, 0x22) + s)},
      {"one integer", Sequence(r)},
      {"three integers", Sequence(r + s + s)},
      {"bytes after s inside", Sequence(r + s + Bytes({0}))},
      {"negative", Sequence(Integer(32, 0x81) + s)},
      {"needless zero", Sequence(Integer(31, 0x22, true) + s)},
      {"zero", Sequence(Integer(1, 0) + s)},
      {"empty integer", Sequence(Bytes({0x02, 0}) + s)},
      {"33 significant bytes", Sequence(Integer(33, 0x22) + s)},
  };
  for (const auto& c : cases) EXPECT_FALSE(DerSignatureToRaw(c.der)) << c.what;
}

// `openssl ec -pubout` of a P-256 key.
constexpr const char* kPem =
    "-----BEGIN PUBLIC KEY-----\n"
    "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAEbntTPvko7apsE6qFoDe+Zkn4/ISY\n"
    "nsVA9et7HISzgP05NwnYNZ3utxCtDTcGAF1UzYGVnyikU1N8XbXjrFr+iA==\n"
    "-----END PUBLIC KEY-----\n";

TEST(P256PointFromPem, ReadsThePointOfAP256Key) {
  const auto point = P256PointFromPem(kPem);
  ASSERT_TRUE(point);
  EXPECT_EQ((*point)[0], 0x6e);
  EXPECT_EQ((*point)[1], 0x7b);
  EXPECT_EQ((*point)[62], 0xfe);
  EXPECT_EQ((*point)[63], 0x88);
}

TEST(P256PointFromPem, RefusesOtherKeysAndDamage) {
  std::string otherCurve = kPem;  // prime256v1's last OID byte 07 becomes 08
  otherCurve.replace(otherCurve.find("AQcD"), 4, "AQgD");
  std::string cut = kPem;
  cut.erase(cut.find("==") - 4, 4);
  std::string privateKey = kPem;
  privateKey.replace(privateKey.find("BEGIN PUBLIC"), 12, "BEGIN EC PRI");
  const std::string cases[] = {"", otherCurve, cut, privateKey,
                               std::string(kPem).replace(30, 1, "*")};
  for (const std::string& pem : cases) EXPECT_FALSE(P256PointFromPem(pem)) << pem;
}

}  // namespace
}  // namespace kelvo
