// The x64 setup under Wine: install for one user (as a standard user, the
// machine's keys made read-only) and for all users, upgrade while the
// program runs, its settings and start-up entry, uninstall. Wine has no
// UAC, so elevation itself is not exercised here.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

#include "kelvo_version.h"
#include "tests/support/wine_testing.h"

namespace {

using namespace kelvo::test;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KelvoCalendar";
constexpr char kUninstallKeyA[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunKeyW[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSettingsKey[] = "SOFTWARE\\KelvoCalendar";
constexpr wchar_t kSettingsKeyW[] = L"SOFTWARE\\KelvoCalendar";
constexpr char kBootKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const std::wstring kSilentSetup = L"\"" KELVO_SETUP L"\" /S";
constexpr wchar_t kTemp[] = L"C:\\kelvo-setup-temp";
const HKEY kUser = HKEY_CURRENT_USER, kMachine = HKEY_LOCAL_MACHINE;

constexpr wchar_t kShortcut[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Kelvo日历.lnk";
const std::wstring kUserShortcut =
    _wgetenv(L"APPDATA") +
    std::wstring(L"\\Microsoft\\Windows\\Start Menu\\Programs\\Kelvo日历.lnk");

DWORD RunToEnd(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD code = STILL_ACTIVE;  // what is left when the process did not start or end
  CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                 &startup, &process);
  WaitForSingleObject(process.hProcess, 60000);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// Text values as they are, numbers in decimal; empty when missing.
std::wstring Value(const wchar_t* key, const wchar_t* name, HKEY root = kMachine) {
  std::wstring data(256, L'\0');
  DWORD type = 0, size = 512;
  RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data.data(), &size);
  return type == REG_DWORD ? std::to_wstring(data[0] | DWORD{data[1]} << 16) : data.c_str();
}

const auto Exists = [](const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
};
const auto Calendar = [] { return FindWindowW(nullptr, L"Kelvo日历"); };

bool OpenAndSeeCalendar(const std::wstring& file) {
  ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return WaitFor([] { return IsWindowVisible(Calendar()) != FALSE; }, 20000);
}

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  return RegOpenKeyExW(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS && !RegCloseKey(key);
}

// The QuietUninstallString; it hands the work to a copy of itself and ends at once.
void Uninstall(const std::wstring& folder, HKEY root = kMachine) {
  EXPECT_EQ(RunToEnd(Value(kUninstallKey, L"QuietUninstallString", root)), 0u);
  EXPECT_TRUE(WaitFor([&] { return !Exists(folder); }, 20000)) << "folder left";
}

// A value put back as it was, or removed, when the case ends.
struct SavedValue {
  HKEY root;
  const char* path;
  const char* name;
  StoredValue value = ReadValue(path, name, root);
  ~SavedValue() {
    DeleteValue(path, name, root);
    if (value.exists) WriteValue(path, name, value.type, value.data, root);
  }
};

// Leaves the prefix as it found it: no calendar running, no uninstaller copy (which
// NSIS runs from the temporary folder, here the case's own), the values put back.
class Installer : public testing::Test {
 protected:
  Installer() {
    for (const wchar_t* name : {L"TMP", L"TEMP"}) SetEnvironmentVariableW(name, kTemp);
    CreateDirectoryW(kTemp, nullptr);
  }
  ~Installer() override {
    if (Calendar()) SendMessageW(Calendar(), WM_COMMAND, 103, 0);
    SHFILEOPSTRUCTW remove{nullptr, FO_DELETE, L"C:\\kelvo-setup-temp\0", nullptr, FOF_NO_UI, FALSE,
                           nullptr, nullptr};
    EXPECT_TRUE(WaitFor([&] { return SHFileOperationW(&remove), !Exists(kTemp); }, 20000));
  }
  const SavedValue saved_[6] = {
      {kMachine, kSettingsKey, "Transparent"}, {kMachine, kSettingsKey, "NoUpdateDate"},
      {kMachine, kRunKey, "KelvoCalendar"},    {kUser, kSettingsKey, "Transparent"},
      {kUser, kRunKey, "KelvoCalendar"},       {kMachine, kBootKey, "PendingFileRenameOperations"}};
};

// "Apps and features" as a silent install into `folder` writes it.
void ExpectUninstallEntry(HKEY root, const std::wstring& folder) {
  const std::wstring exe = folder + L"\\KelvoCalendar.exe";
  const std::wstring uninstaller = L"\"" + folder + L"\\uninst.exe\"";
  // clang-format off
  const std::wstring values[][2] = {
      {L"DisplayName", L"Kelvo日历"}, {L"DisplayVersion", L"" KELVO_VERSION_TEXT},
      {L"Publisher", L"Kelvo软件工作室"}, {L"DisplayIcon", exe + L",0"},
      {L"UninstallString", uninstaller}, {L"QuietUninstallString", uninstaller + L" /S"},
      {L"InstallLocation", folder}, {L"NoModify", L"1"}, {L"NoRepair", L"1"}};
  // clang-format on
  for (const auto& [name, value] : values)
    EXPECT_EQ(Value(kUninstallKey, name.c_str(), root), value);
  EXPECT_GT(std::stoi(Value(kUninstallKey, L"EstimatedSize", root)), 100);  // KB
}

// A standard user: the machine's keys may be read, not written. The setup
// installs for this user alone; the program honours the look an earlier
// version stored for the machine, keeps its own choices across restarts and
// an upgrade, and the uninstall leaves nothing of it for the user.
TEST_F(Installer, StandardUserInstallsForThemselvesAlone) {
  ASSERT_TRUE(WriteValue(kSettingsKey, "Transparent", REG_DWORD, {"\1\0\0\0", 4}, kMachine));
  const ReadOnlyKey locked[] = {
      {kMachine, kUninstallKeyA}, {kMachine, kRunKey}, {kMachine, kSettingsKey}};
  const std::wstring folder =
      _wgetenv(L"LOCALAPPDATA") + std::wstring(L"\\Programs\\KelvoCalendar");
  EXPECT_EQ(RunToEnd(kSilentSetup + L" /ALLUSERS"), 3u) << "for all users without the rights";
  ASSERT_EQ(RunToEnd(kSilentSetup + L" /AUTORUN"), 0u);
  ExpectUninstallEntry(kUser, folder);
  EXPECT_EQ(Value(kRunKeyW, L"KelvoCalendar", kUser), folder + L"\\KelvoCalendar.exe");

  ASSERT_TRUE(OpenAndSeeCalendar(kUserShortcut));
  EXPECT_TRUE(GetWindowLongW(Calendar(), GWL_EXSTYLE) & WS_EX_LAYERED);  // the machine's value
  SendMessageW(Calendar(), WM_COMMAND, 101, 0);                          // opaque, for this user
  SendMessageW(Calendar(), WM_COMMAND, 102, 0);  // checked by /AUTORUN: the entry goes,
  SendMessageW(Calendar(), WM_COMMAND, 102, 0);  // and the menu writes it again
  ASSERT_EQ(RunToEnd(kSilentSetup), 0u);         // an upgrade closes it and stays per-user
  EXPECT_FALSE(KeyExists(kMachine, kUninstallKey));
  ASSERT_TRUE(OpenAndSeeCalendar(kUserShortcut));  // both choices came through the restart
  EXPECT_FALSE(GetWindowLongW(Calendar(), GWL_EXSTYLE) & WS_EX_LAYERED);
  SendMessageW(Calendar(), WM_COMMAND, 102, 0);  // it showed checked: the entry goes
  EXPECT_EQ(Value(kRunKeyW, L"KelvoCalendar", kUser), L"");
  SendMessageW(Calendar(), WM_COMMAND, 101, 0);
  const std::wstring store = _wgetenv(L"LOCALAPPDATA") + std::wstring(L"\\KelvoCalendar");
  CreateDirectoryW(store.c_str(), nullptr);  // where the program keeps a fetched holiday file
  CloseHandle(CreateFileW((store + L"\\holidays.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                          CREATE_ALWAYS, 0, nullptr));
  Uninstall(folder, kUser);
  EXPECT_FALSE(Exists(kUserShortcut) || Exists(store));
  for (const wchar_t* gone : {kUninstallKey, kSettingsKeyW}) EXPECT_FALSE(KeyExists(kUser, gone));
  EXPECT_EQ(Value(kRunKeyW, L"KelvoCalendar", kUser), L"");
  EXPECT_EQ(Value(kSettingsKeyW, L"Transparent", kMachine), L"1");
}

TEST_F(Installer, AllUsersInstallUpgradesAndUninstallsWhatItAndTheProgramWrote) {
  const std::wstring folder = L"C:\\Program Files\\Kelvo日历";  // code page 936 in the entry
  const std::wstring exe = folder + L"\\KelvoCalendar.exe";
  ASSERT_EQ(RunToEnd(kSilentSetup + L" /ALLUSERS /AUTORUN /D=" + folder), 0u);
  ExpectUninstallEntry(kMachine, folder);
  ASSERT_TRUE(OpenAndSeeCalendar(kShortcut));
  ASSERT_TRUE(WriteValue(kSettingsKey, "Transparent", REG_DWORD, {"\1\0\0\0", 4}));
  ASSERT_EQ(RunToEnd(kSilentSetup), 0u);  // an upgrade, for all users, into the same folder
  EXPECT_EQ(Calendar(), nullptr);
  EXPECT_FALSE(KeyExists(kUser, kUninstallKey));
  EXPECT_EQ(Value(kRunKeyW, L"KelvoCalendar"), exe);  // written by /AUTORUN, kept by the upgrade
  // A start-up entry that names another copy is that copy's.
  ASSERT_TRUE(WriteValue(kRunKey, "KelvoCalendar", REG_SZ, "D:\\Kelvo.exe"));
  Uninstall(folder);
  EXPECT_EQ(Calendar(), nullptr);
  EXPECT_FALSE(Exists(kShortcut));
  for (const wchar_t* gone : {kUninstallKey, kSettingsKeyW})
    EXPECT_FALSE(KeyExists(kMachine, gone) || KeyExists(kUser, gone)) << gone;
  EXPECT_EQ(Value(kRunKeyW, L"KelvoCalendar"), L"");
  EXPECT_EQ(Value(kRunKeyW, L"KelvoCalendar", kUser), L"D:\\Kelvo.exe");
}

}  // namespace
