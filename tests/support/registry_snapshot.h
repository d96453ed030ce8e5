#pragma once
// Test helpers: registry values (the user's unless another root is named)
// read and written raw, and keys made read-only the way HKEY_LOCAL_MACHINE
// is for a standard user.
#include <windows.h>
// After windows.h.
#include <sddl.h>

#include <string>

namespace kelvo::testing {

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

}  // namespace kelvo::testing
