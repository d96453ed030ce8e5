#include "update/update_check.h"

#include <gtest/gtest.h>

#include <tuple>

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

// With the maker's key only a greater version is offered (without, any other).
TEST(VersionOrder, KeyedBuildsOfferOnlyAGreaterVersion) {
  const auto more = std::strong_ordering::greater, less = std::strong_ordering::less,
             same = std::strong_ordering::equal;
  const std::tuple<const char*, const char*, std::optional<std::strong_ordering>> rows[] = {
      {"1.0.1", "1.0.0", more}, {"0.9.9", "1.0.0", less}, {"1.0.0", "1.0.0", same},
      {"1.10", "1.9", more},    {"1.2", "1.2.0", same},   {"1.0.01", "1.0.1", same},
      {"2", "1.99.9.9", more},  {"999999999", "1", more}, {"4294967297", "1", {}},
      {"1..0", "1", {}},        {"1.0.", "1", {}},        {"", "1", {}},
      {"1.0.0.0.1", "1", {}},   {"1.0.-1", "1", {}},      {"1.0.1a", "1", {}}};
  for (const auto& [a, b, order] : rows) {
    EXPECT_EQ(CompareVersions(a, b), order) << a << " " << b;
    EXPECT_EQ(OffersUpdate(std::string("Version=") + a, b, true), order == more) << a;
    EXPECT_EQ(OffersUpdate(std::string("Version=") + a, b, false), a != std::string(b));
  }
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
