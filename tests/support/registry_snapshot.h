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
  DWORD size = 0;
  const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, path, name, flags, nullptr, nullptr, &size) == 0) {
    value.data.resize(size);
    value.exists = RegGetValueA(HKEY_LOCAL_MACHINE, path, name, flags, &value.type,
                                value.data.data(), &size) == ERROR_SUCCESS;
    value.data.resize(size);
  }
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
