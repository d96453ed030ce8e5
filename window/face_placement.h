#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/rect.h"

namespace kelvo {

// One monitor as the system reports it, in virtual-screen pixels.
struct MonitorArea {
  std::string DeviceName;  // "\\.\DISPLAY1"
  Rect Bounds;
  Rect Work;  // without the taskbar and docked bars
  bool Primary = false;
};

// Where the user left the face: its rectangle, the monitor it was on and
// that monitor's DPI.
struct RememberedPlace {
  Rect Face;
  std::string DeviceName;
  int Dpi = 96;
  friend bool operator==(const RememberedPlace&, const RememberedPlace&) = default;
};

// The face's rectangle of `width` x `height` pixels. Without a remembered
// place, or with one whose monitor is gone and whose rectangle lies on no
// monitor: home, the top-right corner of the primary monitor's work area.
// Otherwise the remembered top-right corner, on its monitor when present,
// else on the monitor it overlaps most, moved the least distance that puts
// the face whole inside that monitor's work area; never resized. A work
// area smaller than the face keeps the face's top-right corner inside. A
// work area is taken no larger than its monitor.
Rect PlaceFace(const std::vector<MonitorArea>& monitors,
               const std::optional<RememberedPlace>& remembered, int width, int height);

// The stored form of a place, one line of text: "left top right bottom dpi
// device". A text that is not exactly that (a missing or extra field, a
// number out of range, an empty rectangle) is no place.
std::string FacePlaceText(const RememberedPlace& place);
std::optional<RememberedPlace> ParseFacePlace(std::string_view text);

}  // namespace kelvo
