// kelvo-month's arguments, NUL-separated: every run either prints the
// month and says nothing on stderr, or prints nothing and one line on
// stderr with status 2.
#include <sstream>
#include <vector>

#include "tests/fuzz/fuzz_input.h"
#include "tools/month_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo::month_tool;
  const std::vector<std::string_view> args = fuzz::Split(fuzz::Text(data, size), '\0');
  const ParseResult parsed = ParseArguments(args);
  if (const std::optional<Request>& request = parsed.Value) {
    fuzz::TrapIf(!request->Help &&
                 (request->Year < kFirstYear || request->Year > kLastYear || request->Month < 0 ||
                  request->Month > 12 ||
                  (request->Ics && (request->DaysPath.empty() || request->YearCount < 1 ||
                                    request->YearCount > 101)) ||
                  (request->Today && !kelvo::IsValidDate(*request->Today))));
  }
  // Files are read from disk; holiday_file_fuzzer and days_file_fuzzer feed
  // their parsers.
  if (parsed.Value && (!parsed.Value->HolidaysPath.empty() || !parsed.Value->DaysPath.empty()))
    return 0;
  std::ostringstream out, err;
  const int status = RunMonthTool(args, kelvo::Date{2024, 2, 10}, size % 2 == 1, out, err);
  const std::string error = err.str();
  fuzz::TrapIf(status == 0 && (!error.empty() || out.str().empty()));
  fuzz::TrapIf(status == 2 && (!out.str().empty() || !error.starts_with("kelvo-month: ") ||
                               error.find('\n') != error.size() - 1));
  fuzz::TrapIf(status != 0 && status != 2);
  return 0;
}
