#pragma once
#include <compare>
#include <cstdint>
#include <string>

namespace kelvo {

// A Gregorian calendar date (proleptic), whole days only.
struct Date {
  int16_t Year = 0;
  int16_t Month = 0;
  int16_t Day = 0;
  friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

// Days since 1970-01-01 (negative before it).
int32_t DaysFromCivil(Date date);
Date CivilFromDays(int32_t days);
Date AddDays(Date date, int32_t days);
// 0 = Monday ... 6 = Sunday.
int WeekdayFromMonday(Date date);
bool IsGregorianLeapYear(int year);
int16_t DaysInGregorianMonth(int16_t year, int16_t month);
// "yyyy-mm-dd".
std::string FormatIsoDate(Date date);

}  // namespace kelvo
