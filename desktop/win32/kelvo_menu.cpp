#include "desktop/win32/kelvo_menu.h"

#include <string>
#include <utility>

#include "desktop/win32/platform_text.h"

namespace kelvo {

#if defined(__i386__)
static_assert(CKelvoMenu::ItemInfoSize == 44);
#endif
namespace {

// Insertion by position past the last item appends: no menu of the program
// comes near this many items.
constexpr UINT AppendPosition = 1024;
// GetMenuState flags: without MF_BYPOSITION (0x400) the item is found by
// command identifier.
constexpr UINT StateByCommand = 8;

}  // namespace

CKelvoMenu::CKelvoMenu() : hMenu(CreatePopupMenu()) {}

CKelvoMenu::~CKelvoMenu() {
  if (hMenu) DestroyMenu(hMenu);
}

CKelvoMenu::CKelvoMenu(CKelvoMenu&& other) noexcept : hMenu(std::exchange(other.hMenu, nullptr)) {}

CKelvoMenu& CKelvoMenu::operator=(CKelvoMenu&& other) noexcept {
  if (this != &other) {
    if (hMenu) DestroyMenu(hMenu);
    hMenu = std::exchange(other.hMenu, nullptr);
  }
  return *this;
}

void CKelvoMenu::InsertItem(UINT dwID, std::string_view strItem, UINT dwType) {
  std::string text = ToAnsi(strItem);
  MENUITEMINFOA info{};
  info.cbSize = ItemInfoSize;
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
  info.fType = dwType;
  info.wID = dwID;
  info.dwTypeData = text.empty() ? nullptr : text.data();
  InsertMenuItemA(hMenu, AppendPosition, TRUE, &info);
}

void CKelvoMenu::PopupMenu(HWND hWndOwner, int X, int Y) {
  TrackPopupMenu(hMenu, 0, X, Y, 0, hWndOwner, nullptr);
}

void CKelvoMenu::ModifyItem(UINT dwID, UINT dwMask, std::string_view strItem) {
  std::string text = ToAnsi(strItem);
  MENUITEMINFOA info{};
  info.cbSize = ItemInfoSize;
  info.fMask = dwMask;
  info.dwTypeData = text.data();
  SetMenuItemInfoA(hMenu, dwID, FALSE, &info);
}

void CKelvoMenu::CheckItem(UINT dwID, UINT wCheck) {
  CheckMenuItem(hMenu, dwID, wCheck);
}

UINT CKelvoMenu::GetItemState(UINT dwID) const {
  return GetMenuState(hMenu, dwID, StateByCommand);
}

}  // namespace kelvo
