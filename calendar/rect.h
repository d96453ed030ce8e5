#pragma once
#include <cstdint>

namespace kelvo {

// A rectangle in client pixels, origin top-left. Contains() is half-open:
// left <= x < right and top <= y < bottom.
struct Rect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr bool Contains(int32_t x, int32_t y) const {
    return Left <= x && x < Right && Top <= y && y < Bottom;
  }
  // The face's fixed button areas count their borders as inside.
  constexpr bool ContainsInclusive(int32_t x, int32_t y) const {
    return Left <= x && x <= Right && Top <= y && y <= Bottom;
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace kelvo
