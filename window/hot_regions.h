#pragma once
#include <array>
#include <optional>

#include "calendar/rect.h"
#include "window/calendar_state.h"

namespace kelvo {

// The six fixed buttons of the face.
enum class HotRegion { PreviousYear, NextYear, PreviousMonth, NextMonth, BackToToday, Hide };

struct FixedRegion {
  HotRegion Region;
  Rect Area;  // inclusive on all four edges
};

// In the order they are tested; the first hit wins.
inline constexpr std::array<FixedRegion, 6> FixedRegions{{
    {HotRegion::PreviousYear, {12, 12, 35, 38}},
    {HotRegion::NextYear, {94, 12, 117, 38}},
    {HotRegion::PreviousMonth, {124, 12, 147, 38}},
    {HotRegion::NextMonth, {206, 12, 229, 38}},
    {HotRegion::BackToToday, {236, 12, 318, 38}},
    {HotRegion::Hide, {375, 10, 400, 35}},
}};

// The fixed button under (x, y), borders included.
constexpr std::optional<HotRegion> FixedRegionAt(int x, int y) {
  for (const FixedRegion& region : FixedRegions) {
    if (region.Area.ContainsInclusive(x, y)) return region.Region;
  }
  return std::nullopt;
}

// Index of the first day cell whose CellRect holds (x, y) (half-open), or -1.
int CellIndexAt(const CalendarState& state, int x, int y);

// Index of the first of the LinkCount announcement links whose LinkRect holds
// (x, y) (half-open), or -1.
int LinkIndexAt(const CalendarState& state, int x, int y);

// The hand cursor shows over the six buttons and over announcement links;
// day cells keep the normal cursor.
bool ShowsHandCursor(const CalendarState& state, int x, int y);

// Numeric value of a cell's DayText ("1" .. "31"); 0 when it holds no number.
int DayNumber(const DayCell& cell);

}  // namespace kelvo
