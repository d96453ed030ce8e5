#include "net/win32/whole_file.h"

#include <shlobj.h>

#include "net/win32/file_handle.h"

namespace kelvo {

std::wstring KelvoFolder(int csidl, bool create) {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, base))) return {};
  std::wstring folder = base + std::wstring(L"\\KelvoCalendar");
  if (create && !CreateDirectoryW(folder.c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS)
    return {};
  return folder;
}

std::optional<std::string> ReadUpTo(const std::wstring& path, size_t limit) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes(limit, '\0');
  DWORD total = 0, read = 0;
  while (total < limit &&
         ReadFile(file.Get(), bytes.data() + total, static_cast<DWORD>(limit - total), &read,
                  nullptr) &&
         read > 0) {
    total += read;
  }
  bytes.resize(total);
  return bytes;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
  const std::wstring fresh = path + L".new";
  {
    FileHandle file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      const DWORD fault = GetLastError();
      file.Close();
      DeleteFileW(fresh.c_str());
      SetLastError(fault);
      return false;
    }
  }
  if (MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  const DWORD fault = GetLastError();
  DeleteFileW(fresh.c_str());
  SetLastError(fault);
  return false;
}

std::optional<FileStamp> StampOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow,
                   uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
                       data.ftLastWriteTime.dwLowDateTime};
}

}  // namespace kelvo
