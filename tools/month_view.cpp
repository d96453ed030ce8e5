#include "tools/month_view.h"

#include <charconv>
#include <fstream>
#include <ostream>
#include <vector>

#include "calendar/holiday_file.h"
#include "calendar/lunar.h"
#include "calendar/own_days.h"
#include "calendar/tables.h"

namespace kelvo::month_tool {
namespace {

constexpr std::string_view kUsage =
    "Usage: kelvo-month [--tsv] [--today YYYY-MM-DD] [--holidays FILE] [--days FILE]\n"
    "                   YEAR [MONTH]\n"
    "       kelvo-month --days FILE --ics YEAR [COUNT]\n"
    "\n"
    "Shows a month of the Kelvo calendar (or all twelve months of YEAR) as the\n"
    "calendar face does: a Monday-first grid of five or six weeks, each day with\n"
    "its caption (lunar day, solar term or festival), today in brackets, 休 after\n"
    "a public holiday and 班 after a make-up workday. When the output is a\n"
    "terminal, weekends and festivals are red, days of the neighbouring months\n"
    "dim and today highlighted (set NO_COLOR to turn colour off).\n"
    "\n"
    "  YEAR               1950 to 2050\n"
    "  MONTH              1 to 12; without it, every month of YEAR\n"
    "  --today YYYY-MM-DD the day to mark as today (default: the local date)\n"
    "  --holidays FILE    apply a holiday file (holidays.txt, as the program\n"
    "                     fetches it, without its signature) over the built-in\n"
    "                     table; a file the program would refuse is bad input\n"
    "  --days FILE        apply a days file (days.txt, the user's own days): a *\n"
    "                     after the caption of a day that holds one\n"
    "  --ics              with --days: write the own days of the Gregorian years\n"
    "                     YEAR to YEAR+COUNT-1 (COUNT 1 to 101, default 20, never\n"
    "                     past 2050) as an iCalendar file instead of the grid\n"
    "  --tsv              tab-separated rows instead of the grid: a header line,\n"
    "                     then one line per cell with the columns\n"
    "                     year month index date day lunar_year lunar_month\n"
    "                     lunar_day label other festival_or_term today holiday\n"
    "                     (the shown year and month, the cell index, the cell's\n"
    "                     texts, its three marks as 0 or 1, and 休 for a public\n"
    "                     holiday, 班 for a make-up workday or nothing), and\n"
    "                     with --days a last column days: the names of the day's\n"
    "                     own days joined by 、\n"
    "  --help             this text\n"
    "\n"
    "Bad input prints one line on stderr and exits with status 2.\n";

constexpr int kCellWidth = 10;
constexpr std::string_view kOwnDayMark = "*";
constexpr int16_t kDefaultIcsYears = 20;

// Whole non-negative decimal number, or empty. Too large reads as -1 so the
// caller can report it as out of range rather than as "not a number".
std::optional<long long> ReadNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) return -1;
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// An argument as the error line shows it: control characters written as
// \xNN, so a line break or a terminal escape in it cannot split the line
// or recolour the terminal.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f) {
      constexpr char kHex[] = "0123456789abcdef";
      quoted += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    } else {
      quoted += static_cast<char>(c);
    }
  }
  quoted.append("'");
  return quoted;
}

// The file's bytes, one past `limit` at most (enough to tell a file that
// is too large); false when it cannot be read.
bool ReadSmallFile(const std::string& path, size_t limit, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  bytes.assign(limit + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return in.is_open() && !in.bad();
}

ParseResult Fail(std::string message) {
  return {std::nullopt, std::move(message)};
}

// Centres the text in a cell; the last cell of a line gets no padding on
// its right so lines carry no trailing blanks.
void WriteCentred(std::ostream& out, std::string_view text, bool lastInLine) {
  const int padding = kCellWidth - DisplayWidth(text);
  const int left = padding > 0 ? padding / 2 : 0;
  const int right = padding > 0 && !lastInLine ? padding - left : 0;
  out << std::string(left, ' ') << text << std::string(right, ' ');
}

void WriteCell(std::ostream& out, std::string_view text, std::string_view style, bool colour,
               bool lastInLine) {
  if (colour && !style.empty()) {
    out << "\x1b[" << style << 'm';
    WriteCentred(out, text, lastInLine);
    out << "\x1b[0m";
  } else {
    WriteCentred(out, text, lastInLine);
  }
}

// Day numbers take two columns, so one- and two-digit days line up; a
// holiday's 休 or 班 follows the number.
std::string DayNumberText(const DayCell& cell) {
  std::string text = cell.DayText.size() < 2 ? " " + cell.DayText : cell.DayText;
  if (cell.IsToday) text = "[" + text + "]";
  return text.append(HolidayMarkText(cell.Holiday));
}

void WriteTitle(std::ostream& out, int16_t year, int16_t month, bool colour) {
  std::string title = std::to_string(year) + "年" + std::to_string(month) + "月  ";
  AppendStemBranchYear(year, title);
  title.append(" 【").append(ZodiacOfYear(year)).append("年】");
  const int width = 7 * kCellWidth;
  const int padding = width - DisplayWidth(title);
  out << std::string(padding > 0 ? padding / 2 : 0, ' ');
  if (colour) out << "\x1b[1m";
  out << title;
  if (colour) out << "\x1b[0m";
  out << '\n';
}

}  // namespace

int DisplayWidth(std::string_view text) {
  int width = 0;
  for (unsigned char c : text) {
    if (c < 0x80) {
      ++width;
    } else if (c >= 0xC0) {
      width += 2;  // the lead byte of a (CJK) character; continuation bytes add nothing
    }
  }
  return width;
}

std::string_view UsageText() {
  return kUsage;
}

ParseResult ParseArguments(std::span<const std::string_view> args) {
  Request request;
  std::vector<std::string_view> positional;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      request.Help = true;
    } else if (arg == "--tsv") {
      request.Tsv = true;
    } else if (arg == "--holidays" || arg == "--days") {
      if (i + 1 >= args.size()) return Fail(std::string(arg) + " needs a file");
      (arg == "--days" ? request.DaysPath : request.HolidaysPath) = args[++i];
    } else if (arg == "--ics") {
      request.Ics = true;
    } else if (arg == "--today" || arg.starts_with("--today=")) {
      std::string_view value;
      if (arg == "--today") {
        if (i + 1 >= args.size()) return Fail("--today needs a date of the form YYYY-MM-DD");
        value = args[++i];
      } else {
        value = arg.substr(std::string_view("--today=").size());
      }
      request.Today = ParseIsoDate(value);
      if (!request.Today) {
        return Fail("--today: " + Quoted(value) + " is not a real date of the form YYYY-MM-DD");
      }
    } else {
      return Fail("unknown option " + Quoted(arg) + " (see --help)");
    }
  }
  if (request.Help) return {request, {}};

  if (positional.empty()) return Fail("missing YEAR (see --help)");
  if (positional.size() > 2) return Fail("unexpected argument " + Quoted(positional[2]));

  const std::optional<long long> year = ReadNumber(positional[0]);
  if (!year) return Fail("YEAR must be a number, got " + Quoted(positional[0]));
  if (*year < kFirstYear || *year > kLastYear) {
    return Fail("YEAR must be from 1950 to 2050, got " + std::string(positional[0]));
  }
  request.Year = static_cast<int16_t>(*year);

  if (request.Ics) {
    if (request.DaysPath.empty()) return Fail("--ics needs --days FILE");
    request.YearCount = kDefaultIcsYears;
    if (positional.size() == 2) {
      const std::optional<long long> count = ReadNumber(positional[1]);
      if (!count) return Fail("COUNT must be a number, got " + Quoted(positional[1]));
      if (*count < 1 || *count > kLastYear - kFirstYear + 1)
        return Fail("COUNT must be from 1 to 101, got " + std::string(positional[1]));
      request.YearCount = static_cast<int16_t>(*count);
    }
  } else if (positional.size() == 2) {
    const std::optional<long long> month = ReadNumber(positional[1]);
    if (!month) return Fail("MONTH must be a number, got " + Quoted(positional[1]));
    if (*month < 1 || *month > 12) {
      return Fail("MONTH must be from 1 to 12, got " + std::string(positional[1]));
    }
    request.Month = static_cast<int16_t>(*month);
  }
  return {request, {}};
}

void WriteTsvHeader(std::ostream& out, bool withDays) {
  out << "year\tmonth\tindex\tdate\tday\tlunar_year\tlunar_month\tlunar_day\tlabel\tother\t"
         "festival_or_term\ttoday\tholiday";
  out << (withDays ? "\tdays\n" : "\n");
}

void WriteTsvRows(std::ostream& out, int16_t year, int16_t month, const MonthGrid& grid,
                  bool withDays) {
  for (size_t i = 0; i < grid.DayCells.size(); ++i) {
    const DayCell& cell = grid.DayCells[i];
    out << year << '\t' << month << '\t' << i << '\t' << cell.DateText << '\t' << cell.DayText
        << '\t' << cell.LunarYearText << '\t' << cell.LunarMonthText << '\t' << cell.LunarDayText
        << '\t' << cell.LabelText << '\t' << (cell.IsOtherMonth ? 1 : 0) << '\t'
        << (cell.IsFestivalOrTerm ? 1 : 0) << '\t' << (cell.IsToday ? 1 : 0) << '\t'
        << HolidayMarkText(cell.Holiday);
    if (withDays) {
      out << '\t';
      for (size_t k = 0; k < cell.OwnDayNames.size(); ++k)
        out << (k ? "、" : "") << cell.OwnDayNames[k];
    }
    out << '\n';
  }
}

void WriteMonthView(std::ostream& out, int16_t year, int16_t month, const MonthGrid& grid,
                    bool colour) {
  WriteTitle(out, year, month, colour);
  for (int column = 0; column < 7; ++column) {
    WriteCell(out, WeekdayNames[column], column >= 5 ? "31" : "", colour, column == 6);
  }
  out << '\n';
  const int cells = static_cast<int>(grid.DayCells.size());
  for (int rowStart = 0; rowStart < cells; rowStart += 7) {
    const int rowEnd = rowStart + 7 < cells ? rowStart + 7 : cells;
    for (int i = rowStart; i < rowEnd; ++i) {
      const DayCell& cell = grid.DayCells[i];
      const bool weekend = i % 7 >= 5;
      std::string_view style = cell.IsOtherMonth ? "2" : weekend ? "31" : "";
      if (cell.IsToday) style = "1;97;43";
      WriteCell(out, DayNumberText(cell), style, colour, i == rowEnd - 1);
    }
    out << '\n';
    for (int i = rowStart; i < rowEnd; ++i) {
      const DayCell& cell = grid.DayCells[i];
      std::string_view style = cell.IsOtherMonth ? "2" : cell.IsFestivalOrTerm ? "31" : "90";
      if (cell.IsToday) style = "1;97;43";
      const std::string caption =
          cell.LabelText + std::string(cell.OwnDayNames.empty() ? "" : kOwnDayMark);
      WriteCell(out, caption, style, colour, i == rowEnd - 1);
    }
    out << '\n';
  }
}

int RunMonthTool(std::span<const std::string_view> args, Date localToday, bool colour,
                 std::ostream& out, std::ostream& err) {
  const ParseResult parsed = ParseArguments(args);
  if (!parsed.Value) {
    err << "kelvo-month: " << parsed.Error << '\n';
    return 2;
  }
  const Request& request = *parsed.Value;
  if (request.Help) {
    out << kUsage;
    return 0;
  }
  HolidaySchedule holidays;
  if (!request.HolidaysPath.empty()) {
    std::string bytes;
    const std::string fault = ReadSmallFile(request.HolidaysPath, kMaxHolidayFileBytes, bytes)
                                  ? HolidayFileFault(bytes)
                                  : "cannot be read";
    if (!fault.empty()) {
      err << "kelvo-month: " << Quoted(request.HolidaysPath) << ": " << fault << '\n';
      return 2;
    }
    holidays = HolidaySchedule(*ParseHolidayFile(bytes));
  }
  const bool withDays = !request.DaysPath.empty();
  DaysParseResult days;
  if (withDays) {
    std::string bytes;
    days = ReadSmallFile(request.DaysPath, kMaxDaysFileBytes, bytes)
               ? ParseDaysFile(bytes)
               : DaysParseResult{{}, "cannot be read"};
    if (!days.Accepted()) {
      err << "kelvo-month: " << Quoted(request.DaysPath) << ": " << days.Fault << '\n';
      return 2;
    }
  }
  const Date today = request.Today.value_or(localToday);
  if (request.Ics) {
    std::string stamp = FormatIsoDate(today);
    std::erase(stamp, '-');
    out << WriteDaysICalendar(days.Days, request.Year, request.YearCount, stamp + "T000000Z");
    return 0;
  }
  const int16_t firstMonth = request.Month ? request.Month : 1;
  const int16_t lastMonth = request.Month ? request.Month : 12;
  if (request.Tsv) WriteTsvHeader(out, withDays);
  for (int16_t month = firstMonth; month <= lastMonth; ++month) {
    MonthGrid grid = BuildMonthGrid(request.Year, month, today, holidays);
    MarkOwnDays(days.Days, grid.DayCells);
    if (request.Tsv) {
      WriteTsvRows(out, request.Year, month, grid, withDays);
    } else {
      if (month != firstMonth) out << '\n';
      WriteMonthView(out, request.Year, month, grid, colour);
    }
  }
  return 0;
}

}  // namespace kelvo::month_tool
