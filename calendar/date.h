#pragma once
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
// Dates whose year lies outside -32768..32767 cannot be held: their year
// wraps around (no overflow, but no meaningful date either).
Date CivilFromDays(int32_t days);
Date AddDays(Date date, int32_t days);
// 0 = Monday ... 6 = Sunday.
int WeekdayFromMonday(Date date);
bool IsGregorianLeapYear(int year);
int16_t DaysInGregorianMonth(int16_t year, int16_t month);
// "yyyy-mm-dd".
std::string FormatIsoDate(Date date);

// A real day of the Gregorian calendar (month 1..12, day within the month).
bool IsValidDate(Date date);
// Writes "yyyy-mm-dd" (years below 1000 zero-padded, a sign before negative
// years) without allocating; returns the number of characters written.
inline constexpr size_t kIsoDateBufferSize = 16;
size_t FormatIsoDate(Date date, char* out);
// Reads exactly "yyyy-mm-dd" (ASCII digits, year 0001..9999) naming a real
// day; anything else is empty.
std::optional<Date> ParseIsoDate(std::string_view text);

}  // namespace kelvo
