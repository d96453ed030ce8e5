#include "calendar/solar_terms.h"

#include "calendar/civil_days.h"
#include "calendar/tables.h"

namespace kelvo {
namespace {

constexpr int kYears = static_cast<int>(SolarTermInfo.size());

// The day of the month of every term of every covered year, decoded once at
// compile time by walking the chain from 冬至 1949. The month of term j is
// always j / 2 + 1 (checked below), so the day is all that is kept.
using TermDays = std::array<std::array<int8_t, 24>, kYears>;

constexpr int TermInterval(int term) {
  return term >= 5 && term <= 20 ? 15 : 14;
}

constexpr TermDays DecodeTermDays() {
  TermDays days{};
  int32_t date = civil::DaysFromCivil(1949, 12, 22);
  for (int row = 0; row < kYears; ++row) {
    for (int term = 0; term < 24; ++term) {
      date += TermInterval(term) + ((SolarTermInfo[row] >> term) & 1);
      days[row][term] = static_cast<int8_t>(civil::CivilFromDays(date).Day);
    }
  }
  return days;
}

// Every term lies in its own year and in month j / 2 + 1; the lookups below
// rely on it.
constexpr bool EveryTermInItsMonth() {
  int32_t date = civil::DaysFromCivil(1949, 12, 22);
  for (int row = 0; row < kYears; ++row) {
    for (int term = 0; term < 24; ++term) {
      date += TermInterval(term) + ((SolarTermInfo[row] >> term) & 1);
      const civil::YearMonthDay ymd = civil::CivilFromDays(date);
      if (ymd.Year != FirstSolarTermYear + row || ymd.Month != term / 2 + 1) return false;
    }
  }
  return true;
}
static_assert(EveryTermInItsMonth());
static_assert(LastSolarTermYear - FirstSolarTermYear + 1 == kYears);

constexpr TermDays kTermDays = DecodeTermDays();

constexpr bool IsCovered(int year) {
  return year >= FirstSolarTermYear && year <= LastSolarTermYear;
}

}  // namespace

std::optional<std::array<Date, 24>> SolarTermDates(int16_t year) {
  if (!IsCovered(year)) return std::nullopt;
  const auto& row = kTermDays[year - FirstSolarTermYear];
  std::array<Date, 24> dates;
  for (int term = 0; term < 24; ++term) {
    dates[term] = {year, static_cast<int16_t>(term / 2 + 1), row[term]};
  }
  return dates;
}

std::optional<Date> SolarTermDate(int16_t year, int term) {
  if (!IsCovered(year) || term < 0 || term > 23) return std::nullopt;
  return Date{year, static_cast<int16_t>(term / 2 + 1), kTermDays[year - FirstSolarTermYear][term]};
}

}  // namespace kelvo
