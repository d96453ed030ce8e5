#pragma once
// Test helpers: values below HKEY_LOCAL_MACHINE, read and written raw.
#include <windows.h>

#include <string>

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
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data.data()),
                     &size);
    value.data.resize(size);
    value.exists = true;
  }
  RegCloseKey(key);
  return value;
}

inline bool WriteValue(const char* path, const char* name, DWORD type, const std::string& data) {
  return RegSetKeyValueA(HKEY_LOCAL_MACHINE, path, name, type, data.data(),
                         static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

inline void DeleteValue(const char* path, const char* name) {
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, path, name);
}

}  // namespace kelvo::testing
