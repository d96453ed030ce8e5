#include "window/hot_regions.h"

#include <algorithm>
#include <charconv>

namespace kelvo {

int CellIndexAt(const CalendarState& state, int x, int y) {
  // CellCount and the vector agree after every build; taking the smaller
  // keeps a half-built state from reading past the cells.
  const int count = std::min<int>(state.CellCount, static_cast<int>(state.DayCells.size()));
  for (int i = 0; i < count; ++i) {
    if (state.DayCells[i].CellRect.Contains(x, y)) return i;
  }
  return -1;
}

int LinkIndexAt(const CalendarState& state, int x, int y) {
  const int count =
      std::min<int>(state.LinkCount, static_cast<int>(state.AnnouncementLinks.size()));
  for (int k = 0; k < count; ++k) {
    if (state.AnnouncementLinks[k].LinkRect.Contains(x, y)) return k;
  }
  return -1;
}

bool ShowsHandCursor(const CalendarState& state, int x, int y) {
  return FixedRegionAt(x, y).has_value() || LinkIndexAt(state, x, y) >= 0;
}

int DayNumber(const DayCell& cell) {
  int value = 0;
  const char* first = cell.DayText.data();
  const char* last = first + cell.DayText.size();
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return 0;
  return value;
}

}  // namespace kelvo
