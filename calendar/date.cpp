#include "calendar/date.h"

#include <cstdlib>

#include "calendar/civil_days.h"

namespace kelvo {

int32_t DaysFromCivil(Date date) {
  return civil::DaysFromCivil(date.Year, date.Month, date.Day);
}

namespace {
Date ToDate(const civil::YearMonthDay& ymd) {
  return {static_cast<int16_t>(ymd.Year), static_cast<int16_t>(ymd.Month),
          static_cast<int16_t>(ymd.Day)};
}
}  // namespace

Date CivilFromDays(int32_t days) {
  return ToDate(civil::CivilFromDays(days));
}

Date AddDays(Date date, int32_t days) {
  // In 64 bits: a day count near the int32 limits must not overflow.
  return ToDate(civil::CivilFromDays(static_cast<int64_t>(DaysFromCivil(date)) + days));
}

int WeekdayFromMonday(Date date) {
  return civil::WeekdayFromMonday(DaysFromCivil(date));
}

bool IsGregorianLeapYear(int year) {
  return civil::IsLeapYear(year);
}

int16_t DaysInGregorianMonth(int16_t year, int16_t month) {
  return static_cast<int16_t>(civil::DaysInMonth(year, month));
}

bool IsValidDate(Date date) {
  return date.Day >= 1 && date.Day <= civil::DaysInMonth(date.Year, date.Month);
}

size_t FormatIsoDate(Date date, char* out) {
  char* p = out;
  int year = date.Year;
  if (year < 0) {
    *p++ = '-';
    year = -year;
  }
  char digits[8];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + year % 10);
    year /= 10;
  } while (year > 0);
  for (int pad = count; pad < 4; ++pad) *p++ = '0';
  while (count > 0) *p++ = digits[--count];
  const auto two = [&p](int value) {
    value = std::abs(value) % 100;
    *p++ = static_cast<char>('0' + value / 10);
    *p++ = static_cast<char>('0' + value % 10);
  };
  *p++ = '-';
  two(date.Month);
  *p++ = '-';
  two(date.Day);
  return static_cast<size_t>(p - out);
}

std::string FormatIsoDate(Date date) {
  char buffer[kIsoDateBufferSize];
  return std::string(buffer, FormatIsoDate(date, buffer));
}

std::optional<Date> ParseIsoDate(std::string_view text) {
  // Exactly "yyyy-mm-dd": four, two and two ASCII digits.
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int fields[3] = {0, 0, 0};
  const int starts[3] = {0, 5, 8};
  const int lengths[3] = {4, 2, 2};
  for (int f = 0; f < 3; ++f) {
    for (int k = 0; k < lengths[f]; ++k) {
      const char c = text[starts[f] + k];
      if (c < '0' || c > '9') return std::nullopt;
      fields[f] = fields[f] * 10 + (c - '0');
    }
  }
  const Date date{static_cast<int16_t>(fields[0]), static_cast<int16_t>(fields[1]),
                  static_cast<int16_t>(fields[2])};
  if (date.Year < 1 || !IsValidDate(date)) return std::nullopt;
  return date;
}

}  // namespace kelvo
