#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace kelvo {

// Owns one open registry key and closes it when dropped. ANSI entry points:
// names and string values are in the system's code page.
class RegistryKey {
 public:
  RegistryKey() = default;
  // Opens, creating it if needed, a key below `root`; empty on failure.
  static RegistryKey Create(HKEY root, const char* subKey) {
    HKEY key = nullptr;
    if (RegCreateKeyA(root, subKey, &key) != ERROR_SUCCESS) return {};
    return RegistryKey(key);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  RegistryKey(RegistryKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      m_key = std::exchange(other.m_key, nullptr);
    }
    return *this;
  }
  ~RegistryKey() { Close(); }

  explicit operator bool() const { return m_key != nullptr; }
  HKEY Get() const { return m_key; }
  void Close() {
    if (m_key) RegCloseKey(std::exchange(m_key, nullptr));
  }

 private:
  explicit RegistryKey(HKEY key) : m_key(key) {}
  HKEY m_key = nullptr;
};

}  // namespace kelvo
