#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date.h"
#include "calendar/holidays.h"

namespace kelvo {

// holidays.txt, the schedules the maker publishes after a release: UTF-8
// without a BOM, CR LF or LF line ends, at most kMaxHolidayFileBytes.
//
//   KELVO-HOLIDAYS 1
//   SERIAL 2026120701
//   YEAR 2027
//   2027-01-01 休 元旦
//   2027-02-06 班 春节
//
// Line 1 is exactly "KELVO-HOLIDAYS 1"; line 2 is "SERIAL n", n of 1 to 18
// digits without a leading zero and above 0. "YEAR yyyy" lines (1950 to
// 2050) and dated lines "YYYY-MM-DD 休|班 NAME" follow in any order, one
// space between fields, NAME 1 to 16 characters with no control character.
// Every date is real and lies in a declared year, no date comes twice, a 班
// day is a Saturday or a Sunday, at least one year is declared, and no line
// is empty except that the file may end with a line end. A file that breaks
// any rule is refused whole.

inline constexpr size_t kMaxHolidayFileBytes = 64 * 1024;
inline constexpr int16_t kFirstHolidayFileYear = 1950;
inline constexpr int16_t kLastHolidayFileYear = 2050;

struct HolidayFileDay {
  Date Day;
  HolidayMark Mark = HolidayMark::None;  // DayOff or Workday
  std::string Name;                      // UTF-8, 1 to 16 characters
  friend bool operator==(const HolidayFileDay&, const HolidayFileDay&) = default;
};

// An accepted file. Years ascending, each once; days ascending by date.
struct HolidayFile {
  uint64_t Serial = 0;
  std::vector<int16_t> Years;
  std::vector<HolidayFileDay> Days;
  friend bool operator==(const HolidayFile&, const HolidayFile&) = default;
};

// The file's record when every rule holds, empty otherwise. A pure function
// of the bytes: no signature, no SERIAL comparison.
std::optional<HolidayFile> ParseHolidayFile(std::string_view bytes);

// Why ParseHolidayFile refuses `bytes`, in one line ("line 4: 班 on a
// weekday"); empty when it accepts them.
std::string HolidayFileFault(std::string_view bytes);

// What the program takes from its server or its store: a file that parses
// and whose SERIAL is greater than `heldSerial`, the one it already holds (an
// older or equal SERIAL is an old file replayed).
std::optional<HolidayFile> AcceptHolidayFile(std::string_view bytes, uint64_t heldSerial);

// The built-in table with a holiday file applied over it: every year the
// file declares takes the file's marks, every other year keeps the table's.
// Copies share the file.
class HolidaySchedule {
 public:
  HolidaySchedule() = default;  // the built-in table alone
  explicit HolidaySchedule(HolidayFile file);

  // The mark of `date`; Festival stays valid as long as this schedule (or a
  // copy) lives.
  Holiday Of(Date date) const;
  // The applied file's SERIAL; 0 for the built-in table alone.
  uint64_t Serial() const { return file_ ? file_->Serial : 0; }

 private:
  std::shared_ptr<const HolidayFile> file_;
};

}  // namespace kelvo
