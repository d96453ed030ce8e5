// Version and date texts: a version the program accepts reads back from a
// manifest unchanged, a date it accepts prints back as the same text.
#include <string>

#include "calendar/date.h"
#include "tests/fuzz/fuzz_input.h"
#include "update/script_validation.h"
#include "update/update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view text = fuzz::Text(data, size);
  const std::string published = PublishedVersion(text);
  fuzz::TrapIf(published.starts_with(' ') || published.ends_with(' ') ||
               published.find("\r\n") != std::string::npos);
  if (IsVersionText(text)) {
    const std::string manifest = "Version=" + std::string(text) + "\r\nrun|x";
    fuzz::TrapIf(PublishedVersion(manifest) != text || IsOtherVersion(manifest, text));
  }
  if (const std::optional<Date> date = ParseIsoDate(text)) {
    char buffer[kIsoDateBufferSize];
    const std::string_view printed(buffer, FormatIsoDate(*date, buffer));
    fuzz::TrapIf(!IsValidDate(*date) || printed != text || FormatIsoDate(*date) != text);
    fuzz::TrapIf(CivilFromDays(DaysFromCivil(*date)) != *date);
    fuzz::TrapIf(ShouldAskAboutUpdate(date, *date) ||
                 ShouldAskAboutUpdate(date, AddDays(*date, kDaysBetweenPrompts - 1)) ||
                 !ShouldAskAboutUpdate(date, AddDays(*date, kDaysBetweenPrompts)));
  }
  return 0;
}
