#include "update/update_check.h"

#include <array>
#include <cstdint>

namespace kelvo {
namespace {

constexpr size_t kVersionParts = 4;
// Nine digits always fit a 32-bit number.
constexpr size_t kMaxPartDigits = 9;

std::optional<std::array<uint32_t, kVersionParts>> VersionNumbers(std::string_view text) {
  std::array<uint32_t, kVersionParts> numbers{};
  size_t part = 0, digits = 0;
  for (const char c : text) {
    if (c == '.') {
      if (digits == 0 || ++part == kVersionParts) return std::nullopt;
      digits = 0;
    } else if (c < '0' || c > '9' || ++digits > kMaxPartDigits) {
      return std::nullopt;
    } else {
      numbers[part] = numbers[part] * 10 + static_cast<uint32_t>(c - '0');
    }
  }
  if (digits == 0) return std::nullopt;
  return numbers;
}

// Byte length of the UTF-8 sequence starting with `lead`, and how many
// UTF-16 units the character takes (the platform counts characters in
// UTF-16 units).
struct Utf8Step {
  size_t bytes;
  int units;
};

Utf8Step StepAt(unsigned char lead) {
  if (lead >= 0xF0) return {4, 2};
  if (lead >= 0xE0) return {3, 1};
  if (lead >= 0xC0) return {2, 1};
  return {1, 1};
}

std::string_view TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string ManifestUrl(std::string_view host) {
  return "http://" + std::string(host) + "/myapp/KelvoCalendar/update.txt";
}

std::string VersionText(int major, int minor, int revision) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::string PublishedVersion(std::string_view manifest) {
  std::string_view line = manifest.substr(0, manifest.find("\r\n"));
  constexpr int kLabelUnits = 8;
  int skipped = 0;
  size_t pos = 0;
  while (skipped < kLabelUnits && pos < line.size()) {
    const Utf8Step step = StepAt(static_cast<unsigned char>(line[pos]));
    pos += step.bytes;
    skipped += step.units;
  }
  if (pos >= line.size()) return {};
  return std::string(TrimSpaces(line.substr(pos)));
}

bool IsOtherVersion(std::string_view manifest, std::string_view runningVersion) {
  return PublishedVersion(manifest) != runningVersion;
}

std::optional<std::strong_ordering> CompareVersions(std::string_view a, std::string_view b) {
  const auto first = VersionNumbers(a), second = VersionNumbers(b);
  if (!first || !second) return std::nullopt;
  return *first <=> *second;
}

bool OffersUpdate(std::string_view manifest, std::string_view runningVersion, bool keyed) {
  if (!keyed) return IsOtherVersion(manifest, runningVersion);
  return CompareVersions(PublishedVersion(manifest), runningVersion) ==
         std::strong_ordering::greater;
}

bool ShouldAskAboutUpdate(std::optional<Date> lastPrompt, Date today) {
  if (!lastPrompt) return true;
  return DaysFromCivil(today) - DaysFromCivil(*lastPrompt) >= kDaysBetweenPrompts;
}

}  // namespace kelvo
