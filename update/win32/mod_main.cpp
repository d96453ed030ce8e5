#include "update/win32/mod_main.h"

#include <windows.h>

#include <oleauto.h>

#include <memory>
#include <optional>

#include "desktop/win32/module_file.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/settings.h"
#include "kelvo_version.h"
#include "net/win32/file_handle.h"
#include "net/win32/kelvo_download_file.h"
#include "net/win32/trusted_download.h"
#include "update/payload_hash.h"
#include "update/script_validation.h"
#include "update/update_check.h"
#include "update/win32/update_frm.h"

namespace kelvo {
namespace {

constexpr const char* kNoUpdateDateValue = "NoUpdateDate";
constexpr const char* kQuestion = "发现有新版本，是否现在更新？";
constexpr const char* kQuestionTitle = "提示";
constexpr const char* kAdminMustInstall =
    "发现有新版本。本程序是为所有用户安装的，需由管理员安装更新。";

// Module state, kept for the life of the process.
std::unique_ptr<CKelvoDownLoadFile> ManifestLoader;
std::unique_ptr<UpdateFrm> UpdateForm;
bool UpdateAccepted = false;

Date TodayLocal() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {static_cast<int16_t>(now.wYear), static_cast<int16_t>(now.wMonth),
          static_cast<int16_t>(now.wDay)};
}

// Today in the user's short date format, as the platform writes a date.
std::string ShortDateText(Date date) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(date.Year);
  st.wMonth = static_cast<WORD>(date.Month);
  st.wDay = static_cast<WORD>(date.Day);
  char text[128] = {};
  const int n =
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
  return n > 0 ? std::string(text) : std::string();
}

// The platform's own date parsing in the same locale; empty when the text
// is no date.
std::optional<Date> ParseDateText(const std::string& ansiText) {
  if (ansiText.empty()) return std::nullopt;
  std::wstring wide = ToWide(FromAnsi(ansiText));
  DATE value = 0;
  if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
  SYSTEMTIME st = {};
  if (!VariantTimeToSystemTime(value, &st)) return std::nullopt;
  return Date{static_cast<int16_t>(st.wYear), static_cast<int16_t>(st.wMonth),
              static_cast<int16_t>(st.wDay)};
}

// Whether this user may create files in the program's folder. A per-machine
// install run without administrator rights may not: its update would stop
// half-way, so it is not begun.
bool FolderWritable(const std::string& appDir) {
  const std::wstring probe =
      ToWide(appDir) + L"KelvoCalendar-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  return static_cast<bool>(
      FileHandle(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr)));
}

int ShowUpdateBox(HWND owner, const char* text, UINT type) {
  const std::wstring wideText = ToWide(text);
  const std::wstring title = ToWide(kQuestionTitle);
  // Owned by the calendar, which is disabled while the box is open;
  // exiting from the tray menu destroys the box with its owner.
  if (owner && !IsWindow(owner)) owner = nullptr;
  return MessageBoxW(owner, wideText.c_str(), title.c_str(), type);
}

void RunAcceptedUpdate(const std::string& manifest, const UpdateCalendar& calendar) {
  UpdateAccepted = true;
  if (calendar.Unload) calendar.Unload();
  // Destroying the calendar asked the message loop to end; the update form
  // is the program's window now and ends the loop itself when it closes.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  if (!UpdateForm) UpdateForm = std::make_unique<UpdateFrm>();
  UpdateForm->Show();
  // A failed update loses nothing: the form has removed what it wrote and
  // closed, and the calendar comes back.
  const bool shown = UpdateForm->Handle() != nullptr;
  if (shown) UpdateForm->UpdateFile(manifest);
  if ((!shown || UpdateForm->Failed()) && calendar.Restore) calendar.Restore();
}

}  // namespace

bool CheckForUpdate(const CalendarUnloader& unloadCalendar) {
  return CheckForUpdateOn(KELVO_SERVER_HOST, UpdateCalendar{nullptr, unloadCalendar, {}});
}

bool CheckForUpdate(const UpdateCalendar& calendar) {
  return CheckForUpdateOn(KELVO_SERVER_HOST, calendar);
}

bool CheckForUpdateOn(const std::string& host, const CalendarUnloader& unloadCalendar) {
  return CheckForUpdateOn(host, UpdateCalendar{nullptr, unloadCalendar, {}});
}

bool CheckForUpdateOn(const std::string& host, const UpdateCalendar& calendar) {
  // No online check here: it may block, and offline the download fails
  // (on its worker thread) all the same.
  const std::string url = ManifestUrl(host);
  const std::string running =
      VersionText(KELVO_VERSION_MAJOR, KELVO_VERSION_MINOR, KELVO_VERSION_PATCH);

  if (!ManifestLoader) ManifestLoader = std::make_unique<CKelvoDownLoadFile>();
  const std::string manifest = DownloadSignedText(*ManifestLoader, url);
  if (manifest.empty()) return false;
  // With the maker's key a version that is not newer offers nothing and
  // does not count as a check: a replayed old manifest neither takes the
  // user back nor ends this process's checks, and stores no prompt date
  // that would hold back the real update.
  const bool keyed = UpdateKeyBuiltIn();
  if (!OffersUpdate(manifest, running, keyed)) return !keyed;
  // The server's word is not enough: only a well-formed version with a
  // script that stays inside the program's folder is an update.
  const std::string appDir = AppDirOfExecutable(RunningModuleFileName());
  if (!IsAcceptableManifest(manifest, appDir)) return true;
  if (!DownHashesAcceptable(manifest, keyed)) return true;

  // Once an update was accepted the calendar is gone; a check re-entered
  // from a message handled meanwhile must not ask again.
  if (UpdateAccepted) return true;

  const std::optional<std::string> stored = ReadSettingText(kNoUpdateDateValue);
  const std::optional<Date> lastPrompt = stored ? ParseDateText(*stored) : std::nullopt;
  const Date today = TodayLocal();
  if (!ShouldAskAboutUpdate(lastPrompt, today)) return true;

  // Stored before asking: a check re-entered while the box is open finds
  // today's date and does not ask a second time.
  WriteSettingText(kNoUpdateDateValue, ShortDateText(today));
  if (!FolderWritable(appDir)) {
    ShowUpdateBox(calendar.Window, kAdminMustInstall, MB_OK | MB_ICONINFORMATION);
    return true;
  }
  if (ShowUpdateBox(calendar.Window, kQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
    RunAcceptedUpdate(manifest, calendar);
  }
  return true;
}

bool UpdateWasAccepted() {
  return UpdateAccepted;
}

}  // namespace kelvo
