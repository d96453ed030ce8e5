// KelvoSetup.dll, an NSIS plug-in: the setup program's few operations that
// must match the program itself, built from the program's own code. The
// start-up entry is written and recognised exactly as the tray menu's
// 开机启动 writes and recognises it (ANSI text, case-insensitive path
// comparison), and a running calendar is ended by its own exit command.
//
//   KelvoSetup::CloseCalendar          pushes 1 when no calendar runs (any
//                                      that ran has ended), 0 otherwise
//   KelvoSetup::RunEntryNames <exe>    pushes 1 when the start-up entry
//                                      names <exe>, 0 otherwise
//   KelvoSetup::WriteRunEntry <exe>    pushes 1 when <exe> was stored
#include <windows.h>

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

void Push(StackEntry** stack, int stringSize, bool flag) {
  auto* entry = static_cast<StackEntry*>(
      GlobalAlloc(GPTR, sizeof(StackEntry) + static_cast<size_t>(stringSize) * sizeof(wchar_t)));
  if (!entry) return;
  lstrcpynW(entry->text, flag ? L"1" : L"0", stringSize);
  entry->next = *stack;
  *stack = entry;
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

}  // namespace

#define KELVO_PLUGIN_FUNCTION(name)                                                  \
  extern "C" __declspec(dllexport) void __cdecl name(HWND, int stringSize, wchar_t*, \
                                                     StackEntry** stack, void*)

KELVO_PLUGIN_FUNCTION(CloseCalendar) {
  Push(stack, stringSize, CloseCalendars());
}

KELVO_PLUGIN_FUNCTION(RunEntryNames) {
  Push(stack, stringSize, kelvo::AutoRunEntryNames(InstalledExePath(Pop(stack))));
}

KELVO_PLUGIN_FUNCTION(WriteRunEntry) {
  Push(stack, stringSize, kelvo::WriteAutoRunEntry(InstalledExePath(Pop(stack))));
}
