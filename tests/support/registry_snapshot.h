#pragma once
// Test helpers: registry values read and written raw, and keys made
// read-only the way HKEY_LOCAL_MACHINE is for a standard user.
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

inline StoredValue ReadValue(HKEY root, const char* path, const char* name) {
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

inline bool WriteValue(HKEY root, const char* path, const char* name, DWORD type,
                       const std::string& data) {
  return RegSetKeyValueA(root, path, name, type, data.data(), static_cast<DWORD>(data.size())) ==
         ERROR_SUCCESS;
}

inline void DeleteValue(HKEY root, const char* path, const char* name) {
  RegDeleteKeyValueA(root, path, name);
}

// While it lives, the key (made when missing) may be read but not changed:
// everyone is denied setting values, making subkeys and deleting, so an
// open or create for writing fails with ERROR_ACCESS_DENIED, as HKLM does for
// a process without administrator rights. Its former DACL comes back after.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, const char* path) : m_root(root), m_path(path) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key, nullptr);
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_saved.resize(size);
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data(), &size);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)",
                                                         SDDL_REVISION_1, &readOnly, nullptr);
    m_locked = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
    LocalFree(readOnly);
    RegCloseKey(key);
  }
  ~ReadOnlyKey() {
    HKEY key = nullptr;
    RegOpenKeyExA(m_root, m_path, 0, WRITE_DAC, &key);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data());
    RegCloseKey(key);
  }
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
  explicit operator bool() const { return m_locked; }

 private:
  HKEY m_root;
  const char* m_path;
  std::string m_saved;
  bool m_locked = false;
};

}  // namespace kelvo::testing
