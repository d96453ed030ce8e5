#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/rect.h"

namespace kelvo {

struct Color {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

struct FontSpec {
  std::string_view Name;  // "Arial" or "宋体" (UTF-8)
  int Points = 9;         // at 96 DPI
  bool Bold = false;
  bool Underline = false;
  friend constexpr bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Text layout flags; combine with |. Text is always drawn on one line over a
// transparent background.
enum TextFlags : unsigned {
  TextLeft = 0,
  TextTop = 0,
  TextCenter = 1u << 0,       // horizontally
  TextVCenter = 1u << 1,      // vertically
  TextEndEllipsis = 1u << 2,  // cut with "..." when it does not fit
};

// The pictures the face copies from.
enum class PictureId { HidePicture, ArrowStrip };

// The drawing surface of the face. Coordinates are client pixels.
class Canvas {
 public:
  virtual ~Canvas() = default;
  // Box from (x1, y1) to (x2, y2), both corners included. The outline of
  // `lineWidth` pixels lies inside the box; the interior is filled with
  // `fill` (white unless the box is drawn filled in its own colour).
  virtual void Box(int x1, int y1, int x2, int y2, Color outline, int lineWidth, Color fill) = 0;
  // Copies source area (sx, sy, sw, sh) of a picture to (dx, dy, dw, dh),
  // stretching when the sizes differ. dw/dh of 0 mean the picture's own size.
  virtual void StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy,
                           int dw, int dh) = 0;
  // Vertical two-colour gradient over the half-open rectangle.
  virtual void VerticalGradient(const Rect& area, Color top, Color bottom) = 0;
  // UTF-8 text in the half-open rectangle.
  virtual void Text(std::string_view text, const Rect& area, const FontSpec& font, Color color,
                    unsigned flags) = 0;
};

}  // namespace kelvo
