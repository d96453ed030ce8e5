#pragma once
// The date of the last update question as the program keeps it: a short
// date text in HKLM\SOFTWARE\KelvoCalendar, value NoUpdateDate.
#include <windows.h>

#include <optional>
#include <string>

#include "calendar/date.h"
#include "tests/support/registry_snapshot.h"

namespace kelvo::test {

inline constexpr const char* kSettingsKey = "SOFTWARE\\KelvoCalendar";

// `date` in the user's short date format, as the program stores it.
inline std::string ShortDate(Date date) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(date.Year);
  st.wMonth = static_cast<WORD>(date.Month);
  st.wDay = static_cast<WORD>(date.Day);
  char text[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
  return text;
}

inline Date Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {static_cast<int16_t>(now.wYear), static_cast<int16_t>(now.wMonth),
          static_cast<int16_t>(now.wDay)};
}

// The stored text, if there is a REG_SZ value (up to its first NUL).
inline std::optional<std::string> StoredDate() {
  const testing::StoredValue value = testing::ReadValue(kSettingsKey, "NoUpdateDate");
  if (!value.exists || value.type != REG_SZ) return std::nullopt;
  return value.data.substr(0, value.data.find('\0'));
}

inline void StoreDate(const std::string& text) {
  testing::WriteValue(kSettingsKey, "NoUpdateDate", REG_SZ, text + '\0');
}

inline void ForgetDate() {
  testing::DeleteValue(kSettingsKey, "NoUpdateDate");
}

}  // namespace kelvo::test
