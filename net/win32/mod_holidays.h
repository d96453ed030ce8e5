#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "calendar/holiday_file.h"

namespace kelvo {

class GGFetch;

// A holiday file with the signature it came with (empty without a key).
struct SignedHolidayFile {
  std::string Bytes;
  std::string Signature;
};

// "http://" + the server host + "/myapp/KelvoCalendar/holidays.txt".
std::string HolidayFileUrl();

// The holiday file's fetch, with the announcement list's transfer: a
// thread per fetch, the 30 s stall limit, and with a built-in key only a
// file whose holidays.txt.sig holds. Only a file AcceptHolidayFile takes
// over the SERIAL held when the fetch started arrives.
class HolidayFetch {
 public:
  HolidayFetch();
  ~HolidayFetch();
  HolidayFetch(const HolidayFetch&) = delete;
  HolidayFetch& operator=(const HolidayFetch&) = delete;

  // Starts one fetch unless the previous one still runs; its arrival posts
  // `message` with `wParam` to `window`.
  void Start(uint64_t heldSerial, HWND window, UINT message, WPARAM wParam);
  // The file of the last fetch, once, when it has arrived.
  std::optional<SignedHolidayFile> TakeArrived();

 private:
  std::unique_ptr<GGFetch> m_fetch;
  bool m_taken = false;
};

// The holiday file this user's program holds, in
// %LOCALAPPDATA%\KelvoCalendar\holidays.txt beside its .sig, judged again
// as if it had just arrived (rules, and the signature with a built-in key).
// Empty when there is none or it fails: the built-in table applies.
std::optional<HolidayFile> LoadStoredHolidays();
// Keeps `file` for the next start; false when it could not be written whole.
bool StoreHolidays(const SignedHolidayFile& file);

}  // namespace kelvo
