#pragma once
// What the Windows-side tests share: files, the loopback server that
// tests/support/http_server.py runs beside them, waiting, pixels, registry
// values (the user's unless another root is named) read and written raw, and
// keys made read-only the way HKEY_LOCAL_MACHINE is for a standard user.
#include <windows.h>
// After windows.h.
#include <sddl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace kelvo::test {

inline std::string ReadBytes(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A new empty folder in the temporary directory, one per test program.
inline std::string NewFolder(const std::string& stem) {
  const auto folder =
      std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  return folder.string();
}

inline void RemoveFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

// Polls `done` every 50 ms for up to `ms`.
inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (const DWORD start = GetTickCount(); !done(); Sleep(50))
    if (GetTickCount() - start > ms) return false;
  return true;
}

// The server's address for `path`; a file of its folder.
inline std::string ServerUrl(const std::string& path) {
  return "http://127.0.0.1:" + std::string(std::getenv("KELVO_TEST_HTTP_PORT")) + path;
}

inline std::string ServedFile(const std::string& name) {
  const auto relative = std::filesystem::path(name).relative_path();
  return (std::filesystem::path(std::getenv("KELVO_TEST_HTTP_ROOT")) / relative)
      .make_preferred()
      .string();
}

inline void Serve(const std::string& name, const std::string& bytes) {
  WriteBytes(ServedFile(name), bytes);
}

inline int TimesRequested(const std::string& path) {
  const std::string log = ReadBytes(ServedFile("_requests.log")), line = "GET " + path + "\n";
  int count = 0;
  for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
  return count;
}

// The pixels (0xRRGGBB) of a w x h area at (x, y) of a device context.
inline std::vector<uint32_t> Pixels(HDC source, int x, int y, int w, int h) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP image = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, image);
  BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  DeleteObject(SelectObject(memory, previous));
  DeleteDC(memory);
  return pixels;
}

struct StoredValue {
  bool exists = false;
  DWORD type = 0;
  std::string data;
};

inline StoredValue ReadValue(const char* path, const char* name, HKEY root = HKEY_CURRENT_USER) {
  StoredValue value;
  DWORD size = 0;
  const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
  if (RegGetValueA(root, path, name, flags, nullptr, nullptr, &size) == 0) {
    value.data.resize(size);
    value.exists =
        RegGetValueA(root, path, name, flags, &value.type, value.data.data(), &size) == 0;
    value.data.resize(size);
  }
  return value;
}

inline bool WriteValue(const char* path, const char* name, DWORD type, const std::string& data,
                       HKEY root = HKEY_CURRENT_USER) {
  return RegSetKeyValueA(root, path, name, type, data.data(), static_cast<DWORD>(data.size())) ==
         ERROR_SUCCESS;
}

inline void DeleteValue(const char* path, const char* name, HKEY root = HKEY_CURRENT_USER) {
  RegDeleteKeyValueA(root, path, name);
}

// Sets the DACL of a key (made when missing) from its SDDL text.
inline bool SetKeyDacl(HKEY root, const char* path, const wchar_t* sddl) {
  HKEY key = nullptr;
  PSECURITY_DESCRIPTOR dacl = nullptr;
  RegCreateKeyExA(root, path, 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr);
  ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &dacl, nullptr);
  const bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, dacl) == ERROR_SUCCESS;
  LocalFree(dacl);
  RegCloseKey(key);
  return set;
}

// While it lives, everyone is denied setting values, making subkeys and
// deleting: opening the key for writing fails with ERROR_ACCESS_DENIED, as
// HKLM does for a process without administrator rights. Afterwards the key
// is open to everyone.
struct ReadOnlyKey {
  HKEY root;
  const char* path;
  bool locked = SetKeyDacl(root, path, L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)");
  ~ReadOnlyKey() { SetKeyDacl(root, path, L"D:(A;;KA;;;WD)"); }
};

}  // namespace kelvo::test
