#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kelvo {

// The program's own files in the user's profile, read and written whole.

// The program's folder in the profile folder `csidl` (CSIDL_APPDATA,
// CSIDL_LOCAL_APPDATA): ...\KelvoCalendar, created when missing if
// `create`; empty when the profile has no such folder.
std::wstring KelvoFolder(int csidl, bool create);

// At most `limit` bytes of the file; empty when it cannot be read.
std::optional<std::string> ReadUpTo(const std::wstring& path, size_t limit);
// Writes beside `path` first, then puts the whole file in its place, so a
// failed write never leaves half a file where the next start reads. False,
// with the old file untouched, when either step fails; GetLastError() then
// tells why.
bool WriteWhole(const std::wstring& path, const std::string& bytes);

// What tells one version of a file from another without reading it: its
// size and last write time; empty when there is no such file.
struct FileStamp {
  uint64_t Size = 0;
  uint64_t WriteTime = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
std::optional<FileStamp> StampOf(const std::wstring& path);

}  // namespace kelvo
