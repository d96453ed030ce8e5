// The "sha256=" field of down lines, and when a script's down lines may run.
#include "update/payload_hash.h"

#include <gtest/gtest.h>

#include "update/update_script.h"

namespace kelvo {
namespace {

const std::string kHex = "00112233445566778899aabbccddeeffFFEEDDCCBBAA99887766554433221100";

TEST(Sha256Field, ReadsSixtyFourHexDigitsInEitherCase) {
  const auto digest = ParseSha256Field("sha256=" + kHex);
  ASSERT_TRUE(digest);
  EXPECT_EQ((*digest)[0], 0x00);
  EXPECT_EQ((*digest)[15], 0xff);
  EXPECT_EQ((*digest)[16], 0xff);
  EXPECT_EQ((*digest)[31], 0x00);
  EXPECT_EQ(Sha256Hex(*digest), "00112233445566778899aabbccddeeffffeeddccbbaa99887766554433221100");
  for (const std::string& bad : std::initializer_list<std::string>{
           "", "sha256=", "SHA256=" + kHex, "sha256=" + kHex.substr(1), "sha256=" + kHex + "0",
           "sha256=" + kHex.substr(1) + "g", " sha256=" + kHex, "sha256=" + kHex + " "}) {
    EXPECT_FALSE(ParseSha256Field(bad)) << bad;
  }
}

TEST(Sha256Field, DownCommandsCarryTheirDigest) {
  const auto commands = ParseUpdateScript(
      "Version=1.0.1\r\ndown|http://h/a.exe|apppath:|sha256=" + kHex + "\r\ndown|http://h/b|x\r\n",
      "C:\\K\\");
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].sha256, ParseSha256Field("sha256=" + kHex));
  EXPECT_FALSE(commands[1].sha256);
}

TEST(DownHashesAcceptable, MalformedFieldsNeverAndMissingOnesOnlyWithAKey) {
  const std::string head = "Version=1.0.1\r\n";
  const std::string hashed = "down|http://h/a.exe|apppath:|sha256=" + kHex + "\r\n";
  const std::string bare = "DOWN|http://h/b.exe|apppath:\r\n";
  const struct {
    std::string script;
    bool withoutKey;
    bool withKey;
  } cases[] = {
      {"run|apppath:a.exe\r\n", true, true},
      {hashed + "run|apppath:a.exe", true, true},
      {hashed + bare, true, false},
      {"down|http://h/a.exe|apppath:|other\r\n", true, false},
      {"down|http://h/a.exe|apppath:|sha256=" + kHex.substr(2) + "\r\n", false, false},
      {"Down|http://h/a.exe|apppath:|sha256=xyz|more\r\n", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DownHashesAcceptable(head + c.script, false), c.withoutKey) << c.script;
    EXPECT_EQ(DownHashesAcceptable(head + c.script, true), c.withKey) << c.script;
  }
  // The version line is not a script line.
  EXPECT_TRUE(DownHashesAcceptable("down|http://h/a.exe|apppath:", true));
}

}  // namespace
}  // namespace kelvo
