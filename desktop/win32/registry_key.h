#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "desktop/win32/unique_handle.h"

namespace kelvo {

// Owns one open registry key and closes it when dropped. ANSI entry points:
// names and string values are in the system's code page.
class RegistryKey {
 public:
  RegistryKey() = default;
  // Opens, creating it if needed, a key below `root` for reading and
  // writing; empty on failure (a key the user may not write, such as one of
  // HKEY_LOCAL_MACHINE for a standard user).
  static RegistryKey Create(HKEY root, const char* subKey) {
    HKEY key = nullptr;
    if (RegCreateKeyA(root, subKey, &key) != ERROR_SUCCESS) return {};
    return RegistryKey(key);
  }
  // Opens an existing key with only the access asked for; creates nothing.
  static RegistryKey Open(HKEY root, const char* subKey, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, access, &key) != ERROR_SUCCESS) return {};
    return RegistryKey(key);
  }
  explicit operator bool() const { return static_cast<bool>(m_key); }
  HKEY Get() const { return m_key.Get(); }
  void Close() { m_key.Reset(); }

 private:
  explicit RegistryKey(HKEY key) : m_key(key) {}
  UniqueHandle<HKEY, RegCloseKey> m_key;
};

}  // namespace kelvo
