#pragma once
// What a test run by tests/support/with_http_server knows about its server.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kelvo::test_server {

inline std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "127.0.0.1:<port>", the host part of every test URL.
inline std::string Host() {
  return "127.0.0.1:" + Env("KELVO_TEST_HTTP_PORT");
}

// "http://127.0.0.1:<port>" + path (path starts with "/").
inline std::string Url(const std::string& path) {
  return "http://" + Host() + path;
}

// The served folder and the request log, as this process names files: the
// Windows form under Wine, the Unix form natively.
inline std::string Root() {
#ifdef _WIN32
  return Env("KELVO_TEST_HTTP_ROOT_WIN");
#else
  return Env("KELVO_TEST_HTTP_ROOT");
#endif
}

inline std::string LogPath() {
#ifdef _WIN32
  return Env("KELVO_TEST_HTTP_LOG_WIN");
#else
  return Env("KELVO_TEST_HTTP_LOG");
#endif
}

inline bool Available() {
  return !Env("KELVO_TEST_HTTP_PORT").empty();
}

// Every request so far, one "GET /path" a line.
inline std::string RequestLog() {
  std::ifstream in(LogPath(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline int TimesRequested(const std::string& path) {
  const std::string log = RequestLog(), line = "GET " + path + "\n";
  int count = 0;
  for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
  return count;
}

inline bool WasRequested(const std::string& path) {
  return RequestLog().find("GET " + path + "\n") != std::string::npos;
}

// Writes a file into the served folder (name relative to it, "/" allowed).
inline void Serve(const std::string& name, const std::string& bytes) {
  std::string path = Root();
#ifdef _WIN32
  path += "\\";
  for (char c : name) path += (c == '/') ? '\\' : c;
#else
  path += "/" + name;
#endif
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Removes a file from the served folder, if it is there.
inline void Unserve(const std::string& name) {
  std::string path = Root();
#ifdef _WIN32
  path += "\\";
  for (char c : name) path += (c == '/') ? '\\' : c;
#else
  path += "/" + name;
#endif
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

// The byte the server's pattern paths send at offset i.
inline char PatternByte(size_t i) {
  return static_cast<char>(i % 251);
}

inline std::string Pattern(size_t count) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i) bytes[i] = PatternByte(i);
  return bytes;
}

}  // namespace kelvo::test_server
