// Version and date texts: a version the program accepts reads back from a
// manifest unchanged, a date it accepts prints back as the same text.
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/date.h"
#include "update/script_validation.h"
#include "update/update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string published = PublishedVersion(text);
  if (published.starts_with(' ') || published.ends_with(' ') ||
      published.find("\r\n") != std::string::npos)
    __builtin_trap();
  if (IsVersionText(text)) {
    const std::string manifest = "Version=" + std::string(text) + "\r\nrun|x";
    if (PublishedVersion(manifest) != text || IsOtherVersion(manifest, text)) __builtin_trap();
  }
  if (const std::optional<Date> date = ParseIsoDate(text)) {
    char buffer[kIsoDateBufferSize];
    const std::string_view printed(buffer, FormatIsoDate(*date, buffer));
    if (!IsValidDate(*date) || printed != text || FormatIsoDate(*date) != text) __builtin_trap();
    if (CivilFromDays(DaysFromCivil(*date)) != *date) __builtin_trap();
    if (ShouldAskAboutUpdate(date, *date) ||
        ShouldAskAboutUpdate(date, AddDays(*date, kDaysBetweenPrompts - 1)) ||
        !ShouldAskAboutUpdate(date, AddDays(*date, kDaysBetweenPrompts)))
      __builtin_trap();
  }
  return 0;
}
