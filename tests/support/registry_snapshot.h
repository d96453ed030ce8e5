#pragma once
// Test helpers: keeps what a registry key of HKEY_LOCAL_MACHINE held and
// puts it back, so the tests can start from a first run in any prefix.
#include <windows.h>

#include <string>
#include <vector>

namespace kelvo::testing {

struct StoredValue {
  bool exists = false;
  DWORD type = 0;
  std::string data;
};

inline StoredValue ReadValue(const char* path, const char* name) {
  StoredValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()),
                     &size);
    value.data.resize(size);
    value.exists = true;
  }
  RegCloseKey(key);
  return value;
}

inline bool WriteValue(const char* path, const char* name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS) return false;
  const LONG status = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

inline void DeleteValue(const char* path, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

// The values of one key (no subkeys), restored when the snapshot goes.
class KeySnapshot {
 public:
  explicit KeySnapshot(const char* path) : m_path(path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    m_existed = true;
    for (DWORD index = 0;; ++index) {
      char name[16384];
      DWORD nameSize = sizeof name;
      if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      m_values.push_back({name, ReadValue(path, name)});
    }
    RegCloseKey(key);
  }
  ~KeySnapshot() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_path);
    if (!m_existed) return;
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, m_path, &key);
    RegCloseKey(key);
    for (const auto& [name, value] : m_values)
      WriteValue(m_path, name.c_str(), value.type, value.data);
  }
  KeySnapshot(const KeySnapshot&) = delete;
  KeySnapshot& operator=(const KeySnapshot&) = delete;

 private:
  const char* m_path;
  bool m_existed = false;
  std::vector<std::pair<std::string, StoredValue>> m_values;
};

// One value, restored (or removed again) when the snapshot goes.
class ValueSnapshot {
 public:
  ValueSnapshot(const char* path, const char* name)
      : m_path(path), m_name(name), m_value(ReadValue(path, name)) {}
  ~ValueSnapshot() {
    DeleteValue(m_path, m_name);
    if (m_value.exists) WriteValue(m_path, m_name, m_value.type, m_value.data);
  }
  ValueSnapshot(const ValueSnapshot&) = delete;
  ValueSnapshot& operator=(const ValueSnapshot&) = delete;

 private:
  const char* m_path;
  const char* m_name;
  StoredValue m_value;
};

}  // namespace kelvo::testing
