#pragma once
#include "window/calendar_state.h"
#include "window/canvas.h"
#include "window/face_palette.h"

namespace kelvo {

// Draws the whole face into `canvas` from `state`. Besides drawing it writes
// every cell's CellRect, lowers SelectedDay to DaysInMonth when the month is
// shorter, and sets the three date-panel texts from the selected cell.
void PaintFace(CalendarState& state, Canvas& canvas, const FacePalette& palette = NormalPalette);

}  // namespace kelvo
