#pragma once
// What the Windows-side tests share: files, the loopback server that
// tests/support/http_server.py runs beside them, waiting, and pixels.
#include <windows.h>

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

}  // namespace kelvo::test
