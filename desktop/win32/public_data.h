#pragma once
#include <windows.h>

#include "desktop/win32/executable_block.h"

namespace kelvo {

// An object whose window's messages are routed to it by the hook. The hook
// finds the object only through its trampoline: no global, no window
// property.
class SubclassTarget {
 public:
  // Sees every message of the hooked window before its previous procedure.
  virtual LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
  // Calls of WindowProc now running through the hook (more than one when a
  // handler re-enters with SendMessage). The owner must not destroy the
  // object while this is non-zero.
  int ActiveCalls() const { return m_ActiveCalls; }

 protected:
  ~SubclassTarget() = default;

 private:
  friend LRESULT CALLBACK SubclassProc(SubclassTarget*, HWND, UINT, WPARAM, LPARAM);
  int m_ActiveCalls = 0;
};

// The entry the trampoline jumps to: the platform's four arguments with the
// object inserted in front (stdcall on x86, so it pops all five).
using SubclassHandler = LRESULT(CALLBACK*)(SubclassTarget*, HWND, UINT, WPARAM, LPARAM);

// The hook of one window, kept inside the object that owns the window.
// Neither copied nor moved: the trampoline points at its owner.
struct SubclassData {
  SubclassData() = default;
  // Unhooks a window that is still hooked and alive, so it never calls into
  // freed trampoline memory; then frees that memory.
  ~SubclassData();
  SubclassData(const SubclassData&) = delete;
  SubclassData& operator=(const SubclassData&) = delete;

  // The procedure installed before the hook; kept after unhooking so a
  // WindowProc call that unhooks its own window can still pass its message on.
  WNDPROC lpPrevWndProc = nullptr;
  // Entry of the trampoline while hooked, nullptr while not.
  void* lpThunk = nullptr;
  // Executable home of the trampoline code. Freed with the record, never at
  // the unhook: the unhook can happen inside a call that is still running
  // through the trampoline (on x64 the call returns through it).
  TrampolineMemory ThunkCode;
  // The window the hook was installed on.
  HWND hWndHooked = nullptr;
};

// Writes the trampoline for (object, handler) and sets lpThunk to its entry
// (nullptr when no executable memory could be had).
void BuildThunk(SubclassData& record, SubclassTarget* objectAddress,
                SubclassHandler handlerAddress);
// Builds the trampoline and installs it as hWnd's window procedure,
// remembering the previous one. Does nothing on a hooked record or when the
// trampoline could not be built. (The name in parentheses, here and at the
// calls, keeps windowsx.h's SubclassWindow macro from expanding.)
void(SubclassWindow)(SubclassData& record, HWND hWnd, SubclassTarget* objectAddress,
                     SubclassHandler handlerAddress);
// Puts the previous procedure back; harmless when not hooked.
void UnsubclassWindow(SubclassData& record, HWND hWnd);
// Calls objectAddress->WindowProc and returns its result unchanged.
LRESULT CALLBACK SubclassProc(SubclassTarget* objectAddress, HWND hWnd, UINT uMsg, WPARAM wParam,
                              LPARAM lParam);

}  // namespace kelvo
