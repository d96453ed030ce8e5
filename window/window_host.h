#pragma once
#include <string>
#include <vector>

#include "calendar/date.h"
#include "window/canvas.h"
#include "window/navigation.h"

namespace kelvo {

// What the portable calendar window needs from the platform. The Win32
// window implements it over GDI and user32; tests implement it with fakes.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The retained drawing surface of the face.
  virtual Canvas& Surface() = 0;
  // The surface changed: show it (invalidate the client area).
  virtual void SurfaceChanged() = 0;
  // The local date now.
  virtual Date Today() = 0;
  // Left press on empty space: the system moves the window with the mouse
  // until the button is released. True when the window moved.
  virtual bool BeginWindowDrag() = 0;
  // Ask to be told when the mouse leaves the window.
  virtual void TrackMouseLeave() = 0;
  // Open an address with the shell's "open" verb.
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void HideWindow() = 0;
  // Text of a tray-menu item (UTF-8).
  virtual void SetMenuItemText(int id, const std::string& text) = 0;
  // Drops the list down under its box (LayoutOf) with `selected` highlighted
  // (-1: none) and gives it the keyboard; what the user does comes back as
  // CalendarWnd::ChooseFromList or CloseList.
  virtual void ShowList(SelectorList list, const std::vector<std::string>& items, int selected) = 0;
  // Takes the list away; nothing when none is shown.
  virtual void CloseList() = 0;
};

}  // namespace kelvo
