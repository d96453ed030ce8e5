#include "desktop/win32/public_data.h"

#include <cstdint>

namespace kelvo {

SubclassData::~SubclassData() {
  if (lpThunk != nullptr && IsWindow(hWndHooked)) UnsubclassWindow(*this, hWndHooked);
}

void BuildThunk(SubclassData& record, SubclassTarget* objectAddress,
                SubclassHandler handlerAddress) {
  record.lpThunk = record.ThunkCode.Place(reinterpret_cast<uintptr_t>(objectAddress),
                                          reinterpret_cast<uintptr_t>(handlerAddress));
}

void(SubclassWindow)(SubclassData& record, HWND hWnd, SubclassTarget* objectAddress,
                     SubclassHandler handlerAddress) {
  // Hooking twice would make the trampoline its own previous procedure.
  if (record.lpThunk != nullptr) return;
  BuildThunk(record, objectAddress, handlerAddress);
  if (record.lpThunk == nullptr) return;
  record.hWndHooked = hWnd;
  record.lpPrevWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record.lpThunk)));
}

void UnsubclassWindow(SubclassData& record, HWND hWnd) {
  if (record.lpThunk == nullptr) return;
  SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record.lpPrevWndProc));
  record.lpThunk = nullptr;
}

LRESULT CALLBACK SubclassProc(SubclassTarget* objectAddress, HWND hWnd, UINT uMsg, WPARAM wParam,
                              LPARAM lParam) {
  // Counted for the length of the call, so the owner can tell that the
  // object is in use (the exit command unloads the window from in here).
  struct CallCount {
    int& count;
    explicit CallCount(int& c) : count(c) { ++count; }
    ~CallCount() { --count; }
  } inUse(objectAddress->m_ActiveCalls);
  return objectAddress->WindowProc(hWnd, uMsg, wParam, lParam);
}

}  // namespace kelvo
