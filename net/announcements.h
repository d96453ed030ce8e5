#pragma once
#include <cstdint>
#include <string_view>

#include "calendar/rect.h"
#include "window/calendar_state.h"

namespace kelvo {

// Where announcement row `row` (0 = first) is drawn and hit-tested: a
// 128 x 20 band at the right edge of the face, one every 25 pixels. Rows 0
// to 5 lie inside the 370-pixel-high window; later rows fall below it.
constexpr Rect AnnouncementRect(int32_t row) {
  return Rect{410, 220 + 25 * row, 538, 240 + 25 * row};
}

// The last row whose rectangle still fits the 32-bit coordinates.
inline constexpr int32_t kLastAnnouncementRow = (INT32_MAX - 240) / 25;

// Appends the entries of the announcement list `text` (UTF-8) to
// state.AnnouncementLinks and counts them in state.LinkCount.
//
// Entries are separated by "#", fields by "$": title, then address; later
// fields are ignored. Nothing is trimmed: spaces, tabs and line breaks stay
// in the field they stand in. A piece without any "$" (the empty piece after
// a trailing "#", a stray line break between two "#") is skipped and takes
// no row, so the rows stay contiguous and no link opens an empty address.
// Rows are numbered from 0 within this call.
void ParseGGList(CalendarState& state, std::string_view text);

}  // namespace kelvo
