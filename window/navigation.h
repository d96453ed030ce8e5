#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calendar/rect.h"

// What the header lists, the mouse wheel and the keyboard do on the face,
// decided without the platform. Keys travel as Windows virtual-key numbers.
namespace kelvo {

inline constexpr int16_t FirstShownYear = 1950;
inline constexpr int16_t LastShownYear = 2050;

inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr int kKeyHome = 0x24;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;

// One notch of a classic wheel; finer wheels report parts of it.
inline constexpr int kWheelDelta = 120;

// The drop-down lists of the header: 1950年 … 2050年 and 1月 … 12月.
enum class SelectorList { Year, Month };

// The year text (x 36–93) and the month text (x 148–205), y 12–38, borders
// included: a press there that ends without moving the window opens a list.
std::optional<SelectorList> SelectorTextAt(int x, int y);

// Where a list box drops down and how its items are arranged. The years
// stand in columns of two decades, so every year can be clicked without
// scrolling; the months in one column.
struct ListLayout {
  Rect Area;  // the list box with its one-pixel border, face pixels
  int Rows;   // items per column
  int ItemHeight;
  int ColumnWidth;
};
ListLayout LayoutOf(SelectorList list);

std::vector<std::string> ListItems(SelectorList list);
// The item of the shown year or month; -1 when the year lies outside the list.
int ListIndexOf(SelectorList list, int16_t shownYear, int16_t shownMonth);

// A key while a list is open: the list box itself moves the highlight for
// every key but these two.
enum class ListKey { Choose, Close, Move };
ListKey ListKeyAction(int key);

// A key while the face is the active window.
enum class FaceKey {
  None,
  PreviousDay,
  NextDay,
  PreviousWeek,
  NextWeek,
  PreviousMonth,
  NextMonth,
  PreviousYear,
  NextYear,
  Today,
  Hide,
};
FaceKey FaceKeyAction(int key, bool control);

// What a wheel notch steps at (x, y): a month over the grid and the month
// box, a year over the year box, nothing elsewhere.
enum class WheelTarget { None, Month, Year };
WheelTarget WheelTargetAt(int x, int y);

// Gathers wheel deltas into whole notches, so a fine wheel or a touchpad
// steps once per kWheelDelta. A turn back the other way, or onto another
// target, starts again from nothing.
class WheelNotches {
 public:
  // Whole notches gathered; positive when turned towards the user (down).
  int Take(WheelTarget target, int16_t delta);

 private:
  WheelTarget m_target = WheelTarget::None;
  int m_rest = 0;
};

}  // namespace kelvo
