#pragma once
// The date of the last update question as the program keeps it: a short
// date text in HKLM\SOFTWARE\KelvoCalendar, value NoUpdateDate.
#include <windows.h>

#include <string>

#include "calendar/date.h"

namespace kelvo::test {

inline constexpr const char* kSettingsKey = "SOFTWARE\\KelvoCalendar";

// `date` in the user's short date format, as the program stores it.
inline std::string ShortDate(Date date) {
  const SYSTEMTIME day = {static_cast<WORD>(date.Year),
                          static_cast<WORD>(date.Month),
                          0,
                          static_cast<WORD>(date.Day),
                          0,
                          0,
                          0,
                          0};
  char text[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, sizeof text);
  return text;
}

inline Date Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {static_cast<int16_t>(now.wYear), static_cast<int16_t>(now.wMonth),
          static_cast<int16_t>(now.wDay)};
}

// The stored text, empty when there is none.
inline std::string StoredDate() {
  char text[260] = {};
  DWORD size = sizeof text - 1;
  RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "NoUpdateDate", RRF_RT_REG_SZ, nullptr, text,
               &size);
  return text;
}

inline void StoreDate(const std::string& text) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "NoUpdateDate", REG_SZ, text.c_str(),
                  static_cast<DWORD>(text.size() + 1));
}

inline void ForgetDate() {
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "NoUpdateDate");
}

}  // namespace kelvo::test
