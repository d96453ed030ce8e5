#pragma once
// kelvo-month: the calendar's month grid in a terminal, or as
// tab-separated rows. Argument parsing and rendering live here so that they
// can be tested without running the program.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "calendar/date.h"
#include "calendar/month_grid.h"

namespace kelvo::month_tool {

inline constexpr int16_t kFirstYear = 1950;
inline constexpr int16_t kLastYear = 2050;

struct Request {
  bool Help = false;
  bool Tsv = false;
  std::optional<Date> Today;  // --today; the local date otherwise
  std::string HolidaysPath;   // --holidays: a holiday file applied over the built-in table
  std::string DaysPath;       // --days: the user's own days, marked on the grid
  bool Ics = false;           // --ics: the own days as iCalendar instead of the grid
  int16_t Year = 0;
  int16_t Month = 0;      // 0: all twelve months of the year
  int16_t YearCount = 0;  // with --ics: the years from Year (default 20)
};

// Either a request or the one-line description of what is wrong.
struct ParseResult {
  std::optional<Request> Value;
  std::string Error;
};

// Arguments without the program name.
ParseResult ParseArguments(std::span<const std::string_view> args);
std::string_view UsageText();

// The column names line, then one line per cell; withDays adds the own
// days' column.
void WriteTsvHeader(std::ostream& out, bool withDays = false);
void WriteTsvRows(std::ostream& out, int16_t year, int16_t month, const MonthGrid& grid,
                  bool withDays = false);

// The face as text: title with stem-branch year and zodiac, the weekday row,
// then per week a line of day numbers and a line of captions. Today's number
// is bracketed. With colour: weekends and festival or term captions red,
// other-month days dim, today highlighted.
void WriteMonthView(std::ostream& out, int16_t year, int16_t month, const MonthGrid& grid,
                    bool colour);

// Columns a text takes in a terminal: CJK characters count two.
int DisplayWidth(std::string_view text);

// The whole program: returns the exit status (0, or 2 for bad input with one
// line on `err` and nothing on `out`).
int RunMonthTool(std::span<const std::string_view> args, Date localToday, bool colour,
                 std::ostream& out, std::ostream& err);

}  // namespace kelvo::month_tool
