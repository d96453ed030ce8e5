#include "window/win32/own_days_store.h"

#include <shlobj.h>

#include "desktop/win32/platform_text.h"
#include "window/own_days_view.h"

namespace kelvo {
namespace {

constexpr std::wstring_view kDaysFile = L"\\days.txt";
// Past any real list of refused copies: the search for a free name stops.
constexpr int kMostBadCopies = 99;

bool Missing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::string SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring line = length ? std::wstring(text, length) : L"";
  LocalFree(text);
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r' || line.back() == L' '))
    line.pop_back();
  return line.empty() ? "系统错误 " + std::to_string(code) : FromWide(line);
}

DaysParseResult OwnDaysStore::ReadFile() {
  m_stamp = StampOf(m_path);
  // One byte past the limit is enough for the parser to refuse a file too large.
  const std::optional<std::string> bytes = ReadUpTo(m_path, kMaxDaysFileBytes + 1);
  if (!bytes) {
    const DWORD error = GetLastError();
    if (Missing(error)) return {};
    return {{}, "无法读取：" + SystemErrorText(error)};
  }
  return ParseDaysFile(*bytes);
}

OwnDaysStore::Loaded OwnDaysStore::Load() {
  const std::wstring folder = KelvoFolder(CSIDL_APPDATA, false);
  if (folder.empty()) return {};
  m_path = folder + std::wstring(kDaysFile);
  DaysParseResult read = ReadFile();
  m_keepAside = !read.Accepted();
  if (m_keepAside) return {{}, RefusedFileNotice(FromWide(m_path), read.Fault)};
  return {std::move(read.Days), {}};
}

bool OwnDaysStore::KeepAside(std::vector<std::string>& notices) {
  for (int attempt = 1; attempt <= kMostBadCopies; ++attempt) {
    const std::wstring aside = m_path + ToWide(BadCopySuffix(attempt));
    // Without replacing: an older refused copy stays as it is.
    if (MoveFileExW(m_path.c_str(), aside.c_str(), 0)) {
      notices.push_back(KeptAsideNotice(FromWide(aside)));
      m_keepAside = false;
      return true;
    }
    const DWORD error = GetLastError();
    if (Missing(error)) {  // gone meanwhile: nothing left to keep
      m_keepAside = false;
      return true;
    }
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
      notices.push_back(SaveFailedNotice(FromWide(m_path), SystemErrorText(error)));
      return false;
    }
  }
  notices.push_back(SaveFailedNotice(FromWide(m_path), "已有太多另存的旧文件"));
  return false;
}

OwnDaysStore::Saved OwnDaysStore::Save(const std::vector<OwnDay>& held, const Change& change) {
  Saved saved{held, {}, false};
  if (m_path.empty()) {
    const std::wstring folder = KelvoFolder(CSIDL_APPDATA, true);
    if (!folder.empty()) m_path = folder + std::wstring(kDaysFile);
  }
  if (!m_keepAside && !m_path.empty() && StampOf(m_path) != m_stamp) {
    DaysParseResult again = ReadFile();
    if (again.Accepted()) {
      saved.Days = std::move(again.Days);
      saved.Notices.push_back(ChangedOutsideNotice(FromWide(m_path)));
    } else {
      m_keepAside = true;
      saved.Notices.push_back(RefusedFileNotice(FromWide(m_path), again.Fault));
    }
  }
  change(saved.Days);
  if (m_path.empty()) {
    saved.Notices.push_back(SaveFailedNotice("%APPDATA%\\KelvoCalendar\\days.txt", "找不到用户配置文件夹"));
    return saved;
  }
  KelvoFolder(CSIDL_APPDATA, true);
  if (m_keepAside && !KeepAside(saved.Notices)) return saved;
  if (!WriteWhole(m_path, FormatDaysFile(saved.Days))) {
    saved.Notices.push_back(SaveFailedNotice(FromWide(m_path), SystemErrorText(GetLastError())));
    return saved;
  }
  m_stamp = StampOf(m_path);
  saved.Stored = true;
  return saved;
}

}  // namespace kelvo
