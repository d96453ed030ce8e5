#pragma once
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "calendar/rect.h"

// The face is laid out in 96-DPI units and scaled once, at the edge: the
// canvas scales what it draws, the window scales its size, and the mouse
// handlers turn client pixels back into face units.
namespace kelvo {

inline constexpr int BaseDpi = 96;
inline constexpr int MinDpi = 96;
inline constexpr int MaxDpi = 480;

constexpr int ClampDpi(int dpi) {
  return std::clamp(dpi, MinDpi, MaxDpi);
}

// dpi / 96 in percent, e.g. 150 at 144 DPI.
constexpr int ScaleForDpi(int dpi) {
  return ClampDpi(dpi) * 100 / BaseDpi;
}

namespace detail {
constexpr int64_t FloorDivide(int64_t a, int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
}
}  // namespace detail

// A face coordinate in pixels, rounded half up. Every edge is scaled on its
// own, so neighbouring cells that share an edge still share it: no gaps.
constexpr int ScaleLength(int units, int dpi) {
  const int64_t d = ClampDpi(dpi);
  return static_cast<int>(detail::FloorDivide(units * d + BaseDpi / 2, BaseDpi));
}

constexpr Rect ScaleRect(const Rect& r, int dpi) {
  return {ScaleLength(r.Left, dpi), ScaleLength(r.Top, dpi), ScaleLength(r.Right, dpi),
          ScaleLength(r.Bottom, dpi)};
}

// A line keeps at least one pixel.
constexpr int ScaleLineWidth(int units, int dpi) {
  return std::max(1, ScaleLength(units, dpi));
}

// The face unit whose scaled pixels hold `pixel`: the largest u with
// ScaleLength(u) <= pixel, so a click anywhere in a scaled cell hits it.
constexpr int FaceUnitAt(int pixel, int dpi) {
  const int64_t d = ClampDpi(dpi);
  return static_cast<int>(detail::FloorDivide(int64_t{pixel} * BaseDpi + BaseDpi / 2 - 1, d));
}

// Picture scales the program carries, in percent; a bitmap resource of
// scale s has the id base + PictureScaleIdStep * (index of s).
inline constexpr int PictureScales[] = {100, 125, 150, 200};
inline constexpr int PictureScaleIdStep = 10;

// The nearest carried scale at or above the DPI's; the largest above it all.
constexpr int PictureScaleFor(int dpi) {
  const int wanted = ClampDpi(dpi) * 100;
  for (int scale : PictureScales) {
    if (scale * BaseDpi >= wanted) return scale;
  }
  return PictureScales[std::size(PictureScales) - 1];
}

constexpr int ScaledPictureId(int baseId, int scale) {
  for (int i = 0; i < static_cast<int>(std::size(PictureScales)); ++i) {
    if (PictureScales[i] == scale) return baseId + PictureScaleIdStep * i;
  }
  return baseId;
}

// A picture coordinate at `scale` percent, rounded as the generator draws.
constexpr int ScalePictureLength(int units, int scale) {
  return (units * scale + 50) / 100;
}

}  // namespace kelvo
