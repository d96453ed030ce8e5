#pragma once
#include <windows.h>

#include <cstddef>
#include <string_view>

namespace kelvo {

// One popup menu of the platform, created with the object and destroyed
// with it. Items are addressed by command identifier; texts are UTF-8 and
// reach the platform in the ANSI code page.
class CKelvoMenu {
 public:
  // MENUITEMINFOA up to, not including, the item bitmap: the record the menu
  // calls are given (44 bytes on x86, larger on x64).
  static constexpr UINT ItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

  CKelvoMenu();
  ~CKelvoMenu();
  CKelvoMenu(const CKelvoMenu&) = delete;
  CKelvoMenu& operator=(const CKelvoMenu&) = delete;
  CKelvoMenu(CKelvoMenu&& other) noexcept;
  CKelvoMenu& operator=(CKelvoMenu&& other) noexcept;

  // Appends an item: MFT_STRING (0) or MFT_SEPARATOR (0x800, empty text).
  void InsertItem(UINT dwID, std::string_view strItem, UINT dwType);
  // Shows the menu with its top-left corner at the screen point; returns
  // when it closes. The choice reaches hWndOwner as WM_COMMAND.
  void PopupMenu(HWND hWndOwner, int X, int Y);
  // Changes the fields named by dwMask (the program uses MIIM_STRING).
  void ModifyItem(UINT dwID, UINT dwMask, std::string_view strItem);
  // MF_CHECKED or MF_UNCHECKED, by command.
  void CheckItem(UINT dwID, UINT wCheck);
  // GetMenuState by command: holds MF_CHECKED while the item is checked.
  UINT GetItemState(UINT dwID) const;

  HMENU Handle() const { return hMenu; }

 private:
  HMENU hMenu = nullptr;
};

}  // namespace kelvo
