// KelvoSetup.dll, an NSIS plug-in: the setup program's few operations that
// must match the program itself, built from the program's own code. The
// start-up entry is written and recognised exactly as the tray menu's
// 开机启动 writes and recognises it (ANSI text, case-insensitive path
// comparison), and a running calendar is ended by its own exit command.
//
//   KelvoSetup::CloseCalendar          pushes 1 when no calendar runs (any
//                                      that ran has ended), 0 otherwise
//   KelvoSetup::RemoveRunEntries <exe> removes the start-up entries naming
//                                      <exe> where it may; pushes 1 when
//                                      none is left
//   KelvoSetup::WriteRunEntry <scope> <exe>
//                                      the entry of this user ("user") or of
//                                      all users ("machine"); pushes 1 when
//                                      <exe> was stored
//   KelvoSetup::CanWriteMachine        pushes 1 when this process may write
//                                      the machine's "Apps and features" keys
//   KelvoSetup::RunElevated <params>   starts this setup again with <params>
//                                      through UAC, waits, pushes its exit
//                                      code, or "" when it did not start
//   KelvoSetup::RunAsUser <exe>        starts <exe> with the user's normal
//                                      rights; pushes 1 when it started
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <string>

#include "desktop/settings_rules.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/settings.h"
#include "desktop/window_messages.h"
#include "net/win32/file_handle.h"
#include "window/win32/calendar_window.h"

namespace {

// NSIS passes its string stack as a list of GlobalAlloc'ed entries, each
// holding up to `stringSize` characters.
struct StackEntry {
  StackEntry* next;
  wchar_t text[1];
};

std::wstring Pop(StackEntry** stack) {
  StackEntry* top = *stack;
  if (!top) return {};
  std::wstring text(top->text);
  *stack = top->next;
  GlobalFree(top);
  return text;
}

void Push(StackEntry** stack, int stringSize, const std::wstring& text) {
  auto* entry = static_cast<StackEntry*>(
      GlobalAlloc(GPTR, sizeof(StackEntry) + static_cast<size_t>(stringSize) * sizeof(wchar_t)));
  if (!entry) return;
  lstrcpynW(entry->text, text.c_str(), stringSize);
  entry->next = *stack;
  *stack = entry;
}

void Push(StackEntry** stack, int stringSize, bool flag) {
  Push(stack, stringSize, std::wstring(flag ? L"1" : L"0"));
}

// The path the installed program's GetExePath() gives, from the path of
// its file.
std::string InstalledExePath(const std::wstring& file) {
  return kelvo::ExePathFromModulePath(kelvo::FromWide(file));
}

constexpr DWORD kExitWaitMs = 5000;

// Sends the exit command to the calendar window and waits, in all at most
// 5 s, for its process to end (its file is free then).
bool EndCalendar(HWND calendar) {
  DWORD processId = 0;
  GetWindowThreadProcessId(calendar, &processId);
  const kelvo::FileHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  const DWORD start = GetTickCount();
  DWORD_PTR result = 0;
  // With a timeout, so that a hung calendar cannot hang the setup.
  SendMessageTimeoutW(calendar, WM_COMMAND, kelvo::IDM_EXIT, 0, SMTO_ABORTIFHUNG, kExitWaitMs,
                      &result);
  const DWORD spent = GetTickCount() - start;
  const DWORD left = spent < kExitWaitMs ? kExitWaitMs - spent : 0;
  if (process) return WaitForSingleObject(process.Get(), left) == WAIT_OBJECT_0;
  for (DWORD waited = 0; IsWindow(calendar) && waited < left; waited += 100) Sleep(100);
  return !IsWindow(calendar);
}

// Every running calendar, found by its caption (its owner window has none).
bool CloseCalendars() {
  const std::wstring caption = kelvo::ToWide(kelvo::CalendarWindow::Caption);
  // A handful of copies at most; a window that will not go stops the loop.
  for (int copies = 0; copies < 8; ++copies) {
    const HWND calendar = FindWindowW(nullptr, caption.c_str());
    if (!calendar) return true;
    if (!EndCalendar(calendar)) return false;
  }
  return !FindWindowW(nullptr, caption.c_str());
}

bool ProcessIsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const kelvo::FileHandle owned(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated;
}

// Starts the program with a copy of the shell's token: Explorer runs with
// the signed-in user's normal rights, whoever elevated this setup.
bool StartWithShellToken(const std::wstring& exe) {
  DWORD shellProcessId = 0;
  GetWindowThreadProcessId(GetShellWindow(), &shellProcessId);
  const kelvo::FileHandle shell(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellProcessId));
  HANDLE token = nullptr, primary = nullptr;
  if (!shell || !OpenProcessToken(shell.Get(), TOKEN_DUPLICATE, &token)) return false;
  const kelvo::FileHandle shellToken(token);
  constexpr DWORD kAccess = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY |
                            TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
  if (!DuplicateTokenEx(token, kAccess, nullptr, SecurityImpersonation, TokenPrimary, &primary))
    return false;
  const kelvo::FileHandle userToken(primary);
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessWithTokenW(primary, 0, exe.c_str(), commandLine.data(), 0, nullptr, nullptr,
                               &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool RunAsUser(const std::wstring& exe) {
  // Without a shell to borrow from (no Explorer), its own rights are all there is.
  if (ProcessIsElevated() && GetShellWindow()) return StartWithShellToken(exe);
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(nullptr, L"open", exe.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

// A key below the machine's "Apps and features" may be made: the rights a
// per-machine install needs.
bool CanWriteMachine() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                    0, KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The setup's exit code as text, or "" when UAC refused or it did not start.
std::wstring RunElevated(HWND parent, const std::wstring& parameters) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
  run.hwnd = parent;
  run.lpVerb = L"runas";
  run.lpFile = self;
  run.lpParameters = parameters.c_str();
  run.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&run) || !run.hProcess) return {};
  const kelvo::FileHandle process(run.hProcess);
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.Get(), &code);
  return std::to_wstring(code);
}

kelvo::SettingScope ScopeNamed(const std::wstring& name) {
  return name == L"machine" ? kelvo::SettingScope::Machine : kelvo::SettingScope::User;
}

}  // namespace

#define KELVO_PLUGIN_FUNCTION(name)                                                                \
  extern "C" __declspec(dllexport) void __cdecl name([[maybe_unused]] HWND parent, int stringSize, \
                                                     wchar_t*, StackEntry** stack, void*)

KELVO_PLUGIN_FUNCTION(CloseCalendar) {
  Push(stack, stringSize, CloseCalendars());
}

KELVO_PLUGIN_FUNCTION(RemoveRunEntries) {
  const auto left = kelvo::RemoveAutoRunEntries(InstalledExePath(Pop(stack)));
  Push(stack, stringSize, !kelvo::StartUpChecked(left));
}

KELVO_PLUGIN_FUNCTION(WriteRunEntry) {
  const kelvo::SettingScope scope = ScopeNamed(Pop(stack));
  Push(stack, stringSize, kelvo::WriteAutoRunEntry(InstalledExePath(Pop(stack)), scope));
}

KELVO_PLUGIN_FUNCTION(CanWriteMachine) {
  Push(stack, stringSize, CanWriteMachine());
}

KELVO_PLUGIN_FUNCTION(RunElevated) {
  Push(stack, stringSize, RunElevated(parent, Pop(stack)));
}

KELVO_PLUGIN_FUNCTION(RunAsUser) {
  Push(stack, stringSize, RunAsUser(Pop(stack)));
}
