// What the program accepts from the server: announcement addresses, version
// texts, update scripts and their down lines' sha256= field, and the maker's
// PEM key as the Windows verifier takes it (DER signatures are checked
// against OpenSSL by tests/fuzz/der_signature_fuzzer). Every refusal here
// means no link, no question and nothing run.
#include <gtest/gtest.h>

#include <string>

#include "net/answer_rules.h"
#include "net/signature_format.h"
#include "update/payload_hash.h"
#include "update/script_validation.h"

namespace kelvo {
namespace {

TEST(AnswerTrust, AnnouncementAddressesMustBeWebAddresses) {
  const struct {
    const char* list;
    const char* kept;
  } rows[] = {
      {"A$http://a/1#B$HTTPS://b/2$extra", "A$http://a/1#B$HTTPS://b/2"},
      {"T$ http://leading-space#U$http:/one-slash#V$httpx://a#W$javascript:x", ""},
      // A captive portal's page: "$" and "#" in HTML are no list.
      {"<html><a href=\"#top\">$5 wifi</a><p>price: $3#login</p></html>", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.list);
    EXPECT_EQ(KeptAnnouncements(row.list), row.kept);
    EXPECT_EQ(HasKeptAnnouncement(row.list), *row.kept != '\0');
  }
}

TEST(AnswerTrust, VersionTextIsOneToFourDecimalNumbers) {
  for (const char* good : {"1", "1.0.1", "10.20.30.40", "1.0.01"})
    EXPECT_TRUE(IsVersionText(good)) << good;
  for (const char* bad : {"", "1.", ".1", "1..0", "1.0.0.0.0", "v1.0", "1.0 beta", "1,0", "１.0",
                          "<html>", "1.0.0\n"}) {
    EXPECT_FALSE(IsVersionText(bad)) << bad;
  }
}

TEST(AnswerTrust, PathsAreNormalisedBeforeTheFolderTest) {
  const struct {
    const char* path;
    const char* normalised;  // "" when refused
    bool inside;             // inside C:\Tools\Kelvo
  } rows[] = {
      {"C:\\Tools\\Kelvo\\\\x.exe", "C:\\Tools\\Kelvo\\x.exe", true},
      {"c:/tools/KELVO/sub/./x.exe", "c:\\tools\\KELVO\\sub\\x.exe", true},
      {"C:\\Tools\\Kelvo\\sub\\..\\x.exe", "C:\\Tools\\Kelvo\\x.exe", true},
      {"C:\\Tools\\Kelvo\\..\\x.exe", "C:\\Tools\\x.exe", false},
      {"C:\\Tools\\Kelvo\\..\\Kelvo2\\x.exe", "C:\\Tools\\Kelvo2\\x.exe", false},
      {"C:\\Tools\\KelvoEvil\\x.exe", "C:\\Tools\\KelvoEvil\\x.exe", false},
      {"C:\\Tools\\Kelvo", "C:\\Tools\\Kelvo", false},
      {"C:\\..\\x.exe", "", false},
      {"C:\\Tools\\Kelvo\\.. \\..\\x.exe", "", false},
      {"D:\\x.exe", "D:\\x.exe", false},
      {"\\\\host\\share\\x.exe", "\\\\host\\share\\x.exe", false},
      {"x.exe", "", false},
      {"\\x.exe", "", false},
      {"C:x.exe", "", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(NormalisedPath(row.path).value_or(""), row.normalised);
    EXPECT_EQ(IsInsideFolder(row.path, "C:\\Tools\\Kelvo\\"), row.inside);
  }
  EXPECT_TRUE(IsInsideFolder("D:\\x.exe", "D:\\")) << "the program in a drive's root";
  EXPECT_FALSE(IsInsideFolder("D:\\", "D:\\"));
}

TEST(AnswerTrust, OnlyAContainedScriptWithARunOfItsOwnDownloadIsAnUpdate) {
  const std::string app = "C:\\Tools\\Kelvo\\";
  const std::string down = "down|http://h/u/KelvoCalendar2.exe|apppath:\r\n";
  const std::string run = "run|apppath:KelvoCalendar2.exe\r\n";
  const struct {
    std::string script;
    bool accepted;
  } rows[] = {
      {down + "del|apppath:KelvoCalendar.bak\r\n" + run, true},
      {"DOWN|http://h/u/KelvoCalendar2.exe|APPPATH:sub/\r\nRun|apppath:sub\\kelvocalendar2.EXE",
       true},
      {"down|http://h/u/x.exe|C:\\Tools\\Kelvo\r\nrun|c:/tools/kelvo/X.exe\r\n", true},
      {down, false},                                        // no run line
      {run + down, false},                                  // run before its down
      {down + "run|apppath:KelvoCalendar.exe\r\n", false},  // runs what no down fetched
      {down + "run|apppath:KelvoCalendar2.exe/\r\n", false},  // renames "...exe\.td"
      {"down|http://h/u/x.exe|C:\\Windows\r\nrun|C:\\Windows\\x.exe\r\n", false},
      {"down|http://h/u/x.exe|apppath:..\\x\r\nrun|apppath:..\\x\\x.exe\r\n", false},
      {down + "del|C:\\Windows\\win.ini\r\n" + run, false},
      {down + "del|apppath:..\\notes.txt\r\n" + run, false},
      {down + "del|notes.txt\r\n" + run, false},  // relative: the current folder
      {down + run + "run|\\\\host\\share\\x.exe\r\n", false},
      {"down|http://h/u/..|apppath:\r\nrun|apppath:..\r\n", false},
      {"down|http://h/x.exe?v=2|apppath:\r\nrun|apppath:x.exe?v=2\r\n", false},
      {"down|http://h/CON|apppath:\r\nrun|apppath:CON\r\n", false},
      {"down|http://h/x.exe.|apppath:\r\nrun|apppath:x.exe.\r\n", false},
      {"down|file:///C:/x.exe|apppath:\r\nrun|apppath:x.exe\r\n", false},
      {"down|http://h/a\\..\\..\\x.exe|apppath:\r\nrun|apppath:x.exe\r\n", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.script);
    EXPECT_EQ(IsAcceptableManifest("Version:1.0.1\r\n" + row.script, app), row.accepted);
  }
  const std::string script = down + run;
  EXPECT_FALSE(IsAcceptableManifest("Version:1.0.1 beta\r\n" + script, app));
  EXPECT_TRUE(IsAcceptableManifest(
      "Version:1.0.1\r\ndown|http://h/x.exe|apppath:\r\nrun|apppath:x.exe", "D:\\"));
}

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
