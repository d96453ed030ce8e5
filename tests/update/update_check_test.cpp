#include "update/update_check.h"

#include <gtest/gtest.h>

#include "kelvo_version.h"

namespace kelvo {
namespace {

TEST(ManifestAddress, IsTheHostsUpdateText) {
  EXPECT_EQ(ManifestUrl("update.kelvo.cn"),
            "http://update.kelvo.cn/myapp/KelvoCalendar/update.txt");
  EXPECT_EQ(ManifestUrl("127.0.0.1:8080"), "http://127.0.0.1:8080/myapp/KelvoCalendar/update.txt");
}

TEST(RunningVersion, ThisBuildIs100) {
  EXPECT_EQ(VersionText(KELVO_VERSION_MAJOR, KELVO_VERSION_MINOR, KELVO_VERSION_PATCH), "1.0.0");
  EXPECT_STREQ(KELVO_VERSION_TEXT, "1.0.0");
  EXPECT_EQ(VersionText(2, 10, 0), "2.10.0");
}

// The first CR LF line, its eight-character label skipped whatever it says,
// spaces (only spaces) trimmed; a short first line has no version.
TEST(PublishedVersionLine, IsTheFirstLineAfterAnEightCharacterLabel) {
  const struct {
    const char* manifest;
    const char* version;
  } rows[] = {{"Version:1.0.1\r\ndown|a|b", "1.0.1"},
              {"xxxxxxxx1.0.0", "1.0.0"},
              {"1.0.0   1.0.0", "1.0.0"},
              {"最新的版本号是：1.0.2\r\n", "1.0.2"},
              {"Version:   1.0.1   \r\nrun|x", "1.0.1"},
              {"Version:\t1.0.1", "\t1.0.1"},
              {"Version:", ""},
              {"1.0.1", ""},
              {"", ""},
              {"Version:\r\n1.0.1", ""},
              {"Version:1.0.1\ndown|a|b", "1.0.1\ndown|a|b"}};
  for (const auto& row : rows)
    EXPECT_EQ(PublishedVersion(row.manifest), row.version) << row.manifest;
}

// Any difference in the exact text counts, higher or lower.
TEST(VersionComparison, ComparedAsExactText) {
  EXPECT_FALSE(IsOtherVersion("Version:1.0.0\r\n", "1.0.0"));
  EXPECT_FALSE(IsOtherVersion("Version: 1.0.0 ", "1.0.0"));
  EXPECT_TRUE(IsOtherVersion("Version:1.0.1", "1.0.0"));
  EXPECT_TRUE(IsOtherVersion("Version:0.9.9", "1.0.0"));
  EXPECT_TRUE(IsOtherVersion("Version:1.0.00", "1.0.0"));
  EXPECT_TRUE(IsOtherVersion("Version:1.0.01", "1.0.1"));
  EXPECT_TRUE(IsOtherVersion("Version:V1.0.0", "1.0.0"));
  EXPECT_TRUE(IsOtherVersion("Version:", "1.0.0"));
}

// Asks again from 15 calendar days on; never for today or a future date;
// always when no readable date is stored.
TEST(PromptInterval, AsksFromFifteenCalendarDaysOn) {
  constexpr Date kToday{2024, 3, 20};
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2024, 3, 6}, kToday));
  EXPECT_TRUE(ShouldAskAboutUpdate(Date{2024, 3, 5}, kToday));
  EXPECT_TRUE(ShouldAskAboutUpdate(Date{2023, 3, 5}, kToday));
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2024, 2, 15}, Date{2024, 2, 29}));
  EXPECT_TRUE(ShouldAskAboutUpdate(Date{2024, 2, 15}, Date{2024, 3, 1}));
  EXPECT_TRUE(ShouldAskAboutUpdate(Date{2023, 12, 22}, Date{2024, 1, 6}));
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2023, 12, 23}, Date{2024, 1, 6}));
  EXPECT_FALSE(ShouldAskAboutUpdate(kToday, kToday));
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2024, 3, 21}, kToday));
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2030, 1, 1}, kToday));
  EXPECT_TRUE(ShouldAskAboutUpdate(std::nullopt, kToday));
}

TEST(RegistryText, EndsAtTheFirstNul) {
  EXPECT_EQ(RegistryStringText(std::string_view("2024/3/20\0junk", 14)), "2024/3/20");
  EXPECT_EQ(RegistryStringText("2024/3/20"), "2024/3/20");
  EXPECT_EQ(RegistryStringText(std::string_view("\0", 1)), "");
  EXPECT_EQ(RegistryStringText(""), "");
}

}  // namespace
}  // namespace kelvo
