#pragma once
// File and message helpers shared by the Windows-side tests.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace kelvo::test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A Unix path as Wine's Windows programs name it.
inline std::string WinePath(const std::string& unixPath) {
  std::string out = "Z:";
  for (char c : unixPath) out += (c == '/') ? '\\' : c;
  return out;
}

// A new empty folder in the temporary directory.
inline std::string NewFolder(const std::string& stem) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  const std::string folder = std::string(temp) + stem + "-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// Removes a folder and the files in it (no subfolders are made by tests).
inline void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// Waits up to `ms` for a file to appear.
inline bool WaitForFile(const std::string& path, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!Exists(path)) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

inline void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace kelvo::test
