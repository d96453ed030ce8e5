#pragma once
#include <string>

#include "calendar/date.h"
#include "window/canvas.h"

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
  // Left press on empty space: let the system move the window.
  virtual void BeginWindowDrag() = 0;
  // Ask to be told when the mouse leaves the window.
  virtual void TrackMouseLeave() = 0;
  // Open an address with the shell's "open" verb.
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void HideWindow() = 0;
  // Text of a tray-menu item (UTF-8).
  virtual void SetMenuItemText(int id, const std::string& text) = 0;
};

}  // namespace kelvo
