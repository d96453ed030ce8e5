#include "net/win32/mod_holidays.h"

#include <shlobj.h>

#include <string_view>

#include "desktop/win32/platform_text.h"
#include "kelvo_version.h"
#include "net/win32/mod_gg.h"
#include "net/win32/trusted_download.h"
#include "net/win32/whole_file.h"

namespace kelvo {
namespace {

constexpr std::wstring_view kStoreFile = L"\\holidays.txt";

std::wstring SignaturePath(const std::wstring& path) {
  return path + ToWide(kSignatureSuffix);
}

}  // namespace

std::string HolidayFileUrl() {
  return std::string("http://") + KELVO_SERVER_HOST + "/myapp/KelvoCalendar/holidays.txt";
}

HolidayFetch::HolidayFetch() = default;
HolidayFetch::~HolidayFetch() = default;

void HolidayFetch::Start(uint64_t heldSerial, HWND window, UINT message, WPARAM wParam) {
  if (m_fetch && m_fetch->InFlight() > 0) return;
  // Judged on the fetch thread, so a page that is no holiday file (or an
  // old one replayed) fetches no signature and never arrives.
  m_fetch = std::make_unique<GGFetch>([heldSerial](std::string_view body) {
    return AcceptHolidayFile(body, heldSerial).has_value();
  });
  m_taken = false;
  m_fetch->NotifyWhenLoaded(window, message, wParam);
  m_fetch->Start(HolidayFileUrl());
}

std::optional<SignedHolidayFile> HolidayFetch::TakeArrived() {
  if (!m_fetch || m_taken || !m_fetch->Loaded()) return std::nullopt;
  m_taken = true;
  return SignedHolidayFile{m_fetch->Data(), m_fetch->Signature()};
}

std::optional<HolidayFile> LoadStoredHolidays() {
  const std::wstring folder = KelvoFolder(CSIDL_LOCAL_APPDATA, false);
  if (folder.empty()) return std::nullopt;
  const std::wstring path = folder + std::wstring(kStoreFile);
  // One byte past the limit is enough for the rules to refuse a file too large.
  const std::optional<std::string> bytes = ReadUpTo(path, kMaxHolidayFileBytes + 1);
  if (!bytes) return std::nullopt;
  std::optional<HolidayFile> file = ParseHolidayFile(*bytes);
  if (!file) return std::nullopt;
  const bool signedByTheMaker = SignatureAccepted(*bytes, [&] {
    // A DER P-256 signature is at most 72 bytes.
    return ReadUpTo(SignaturePath(path), 256);
  });
  return signedByTheMaker ? std::move(file) : std::nullopt;
}

bool StoreHolidays(const SignedHolidayFile& file) {
  const std::wstring folder = KelvoFolder(CSIDL_LOCAL_APPDATA, true);
  if (folder.empty()) return false;
  const std::wstring path = folder + std::wstring(kStoreFile);
  // The signature first: a file whose signature is missing or older fails
  // the check at the next start, and the built-in table applies.
  if (file.Signature.empty()) {
    DeleteFileW(SignaturePath(path).c_str());
  } else if (!WriteWhole(SignaturePath(path), file.Signature)) {
    return false;
  }
  return WriteWhole(path, file.Bytes);
}

}  // namespace kelvo
