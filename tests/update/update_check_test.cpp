#include "update/update_check.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// The first CR LF line after its eight-character label, whatever the label
// says, spaces (only spaces) trimmed, compared as exact text: any
// difference counts, higher or lower.
TEST(PublishedVersion, IsTheFirstLineAfterAnEightCharacterLabel) {
  const struct {
    const char* manifest;
    const char* version;
  } rows[] = {{"1.0.0   1.0.0", "1.0.0"},
              {"最新的版本号是：1.0.2\r\n", "1.0.2"},
              {"Version:   1.0.1   \r\nrun|x", "1.0.1"},
              {"Version:\t1.0.1", "\t1.0.1"},
              {"1.0.1", ""},
              {"Version:\r\n1.0.1", ""},
              {"Version:1.0.1\ndown|a|b", "1.0.1\ndown|a|b"}};
  for (const auto& row : rows)
    EXPECT_EQ(PublishedVersion(row.manifest), row.version) << row.manifest;
  EXPECT_FALSE(IsOtherVersion("Version: 1.0.0 \r\n", "1.0.0"));
  for (const char* other : {"Version:0.9.9", "Version:1.0.00", "Version:V1.0.0", "Version:"})
    EXPECT_TRUE(IsOtherVersion(other, "1.0.0")) << other;
}

// With the maker's key only a greater version is offered, compared as
// numbers part by part; a version that is not one is refused whole.
// Without a key any difference still counts.
TEST(VersionOrder, KeyedBuildsOfferOnlyAGreaterVersion) {
  using std::strong_ordering;
  const struct {
    const char *a, *b;
    std::optional<strong_ordering> order;
  } rows[] = {{"1.0.1", "1.0.0", strong_ordering::greater},
              {"0.9.9", "1.0.0", strong_ordering::less},
              {"1.0.0", "1.0.0", strong_ordering::equal},
              {"1.10", "1.9", strong_ordering::greater},
              {"1.2", "1.2.0", strong_ordering::equal},
              {"1.0.01", "1.0.1", strong_ordering::equal},
              {"2", "1.99.99.99", strong_ordering::greater},
              {"999999999.0", "1", strong_ordering::greater},
              {"4294967297", "1", std::nullopt},  // a 32-bit number would wrap to 1
              {"1.0000000000", "1", std::nullopt},
              {"1..0", "1", std::nullopt},
              {"1.0.", "1", std::nullopt},
              {"", "1", std::nullopt},
              {"1.0.0.0.1", "1", std::nullopt},
              {"1.0.-1", "1", std::nullopt},
              {"1.0.1a", "1", std::nullopt},
              {"1.0.1\t", "1", std::nullopt}};
  for (const auto& row : rows) {
    EXPECT_EQ(CompareVersions(row.a, row.b), row.order) << row.a << " " << row.b;
    EXPECT_EQ(OffersUpdate(std::string("Version=") + row.a, row.b, true),
              row.order == strong_ordering::greater)
        << row.a;
  }
  EXPECT_TRUE(OffersUpdate("Version=0.9.9", "1.0.0", false));
  EXPECT_FALSE(OffersUpdate("Version=1.0.0", "1.0.0", false));
}

// Asks again from 15 calendar days on; never for today or a future date;
// always when no readable date is stored.
TEST(PromptInterval, AsksFromFifteenCalendarDaysOn) {
  EXPECT_TRUE(ShouldAskAboutUpdate(Date{2023, 12, 22}, {2024, 1, 6}));
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2023, 12, 23}, {2024, 1, 6}));
  EXPECT_FALSE(ShouldAskAboutUpdate(Date{2024, 3, 21}, {2024, 3, 20}));
  EXPECT_TRUE(ShouldAskAboutUpdate(std::nullopt, {2024, 3, 20}));
}

}  // namespace
}  // namespace kelvo
