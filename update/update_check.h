#pragma once
#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/date.h"

namespace kelvo {

// The rules of the update check, apart from the download, the registry and
// the question box.

// Where the manifest lives on the update server (host, optionally
// host:port).
std::string ManifestUrl(std::string_view host);
// The running version as the manifest writes it: "1.0.0".
std::string VersionText(int major, int minor, int revision);

// The published version: the first line (up to the first CR LF) from its
// ninth character on, with leading and trailing spaces removed. The first
// eight characters are a label and play no part.
std::string PublishedVersion(std::string_view manifest);
// Any difference counts, higher or lower, exact and case-sensitive.
bool IsOtherVersion(std::string_view manifest, std::string_view runningVersion);

// Two versions compared part by part as numbers, a missing part counting as
// 0: 1.10 > 1.9, 1.2 = 1.2.0, 1.0.01 = 1.0.1. Empty unless both are 1 to 4
// parts of 1 to 9 decimal digits (an empty part, a sign, a letter or a
// number too long to hold refuses the whole version).
std::optional<std::strong_ordering> CompareVersions(std::string_view a, std::string_view b);
// Whether the manifest offers an update over the running version. With the
// maker's key only a greater version does: a replayed old manifest, validly
// signed, must not take the user back to an older release. Without a key
// any other version does, as earlier programs have it.
bool OffersUpdate(std::string_view manifest, std::string_view runningVersion, bool keyed);

// The user is asked again once 15 or more days have passed since the last
// prompt, and whenever no readable prompt date is stored. A stored date in
// the future does not ask.
inline constexpr int kDaysBetweenPrompts = 15;
bool ShouldAskAboutUpdate(std::optional<Date> lastPrompt, Date today);

}  // namespace kelvo
