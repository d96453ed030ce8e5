// kelvo-month's arguments, NUL-separated: every run either prints the
// month and says nothing on stderr, or prints nothing and one line on
// stderr with status 2.
#include <cstdint>
#include <sstream>
#include <string_view>
#include <vector>

#include "tools/month_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo::month_tool;
  std::vector<std::string_view> args;
  for (std::string_view rest(reinterpret_cast<const char*>(data), size); !rest.empty();) {
    const size_t end = std::min(rest.find('\0'), rest.size());
    args.push_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  const ParseResult parsed = ParseArguments(args);
  if (const std::optional<Request>& request = parsed.Value) {
    if (!request->Help &&
        (request->Year < kFirstYear || request->Year > kLastYear || request->Month < 0 ||
         request->Month > 12 || (request->Today && !kelvo::IsValidDate(*request->Today))))
      __builtin_trap();
  }
  // A holiday file is read from disk; holiday_file_fuzzer feeds its parser.
  if (parsed.Value && !parsed.Value->HolidaysPath.empty()) return 0;
  std::ostringstream out, err;
  const int status = RunMonthTool(args, kelvo::Date{2024, 2, 10}, size % 2 == 1, out, err);
  const std::string error = err.str();
  if (status == 0 && (!error.empty() || out.str().empty())) __builtin_trap();
  if (status == 2 && (!out.str().empty() || !error.starts_with("kelvo-month: ") ||
                      error.find('\n') != error.size() - 1))
    __builtin_trap();
  if (status != 0 && status != 2) __builtin_trap();
  return 0;
}
