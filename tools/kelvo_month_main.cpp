// kelvo-month: prints a month of the calendar in the terminal (see --help).
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/month_view.h"

namespace {

kelvo::Date LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {static_cast<int16_t>(local.tm_year + 1900), static_cast<int16_t>(local.tm_mon + 1),
          static_cast<int16_t>(local.tm_mday)};
}

bool WantsColour() {
  const char* noColour = std::getenv("NO_COLOR");
  const char* term = std::getenv("TERM");
  return isatty(STDOUT_FILENO) && (noColour == nullptr || *noColour == '\0') &&
         !(term != nullptr && std::string_view(term) == "dumb");
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const int status =
      kelvo::month_tool::RunMonthTool(args, LocalToday(), WantsColour(), std::cout, std::cerr);
  std::cout.flush();
  return status;
}
