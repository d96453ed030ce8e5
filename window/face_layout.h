#pragma once
#include "window/canvas.h"

// Colours, fonts and picture layout of the calendar face. The painter, the
// mouse handlers (arrow hover images) and the resource generator all read
// these, so the bitmaps and the drawing agree on one set of numbers.
namespace kelvo::face {

inline constexpr int FaceWidth = 538;
inline constexpr int FaceHeight = 370;

inline constexpr Color FrameBlue{87, 171, 255};       // outer frame, header rule
inline constexpr Color ButtonOutline{216, 216, 216};  // "返回今天" button
inline constexpr Color GridRule{200, 202, 204};
inline constexpr Color WeekendRed{224, 45, 45};  // weekend text, festival/term label
inline constexpr Color Orange{255, 187, 0};      // selection, hover, today, big day
inline constexpr Color OtherMonthGrey{191, 191, 191};
inline constexpr Color LabelGrey{153, 153, 153};
inline constexpr Color PanelSeparator{148, 201, 255};
inline constexpr Color PanelTop{85, 170, 255};
inline constexpr Color PanelBottom{115, 185, 255};
inline constexpr Color WorkdayGrey{102, 102, 102};  // the 班 mark
inline constexpr Color OwnDayGreen{0, 153, 102};    // the mark of a cell holding an own day
inline constexpr Color Black{0, 0, 0};
inline constexpr Color White{255, 255, 255};

// The own-day mark: a square dot in the cell's bottom-left corner, inside
// the 3-pixel selection frame and away from the 休/班 corner (top right).
inline constexpr int OwnDayMarkInset = 5;  // from the cell's left and bottom edges
inline constexpr int OwnDayMarkSize = 4;

inline constexpr std::string_view ArialFont = "Arial";
inline constexpr std::string_view SongFont = "宋体";

// Bitmap 101: the round hide button, drawn at its own size.
inline constexpr int HidePictureWidth = 25;
inline constexpr int HidePictureHeight = 25;

// Bitmap 102: four 23-pixel arrow frames and one background column.
inline constexpr int ArrowStripWidth = 93;
inline constexpr int ArrowStripHeight = 26;
inline constexpr int ArrowFrameWidth = 23;
inline constexpr int LeftArrowNormalX = 0;
inline constexpr int LeftArrowHoverX = 23;
inline constexpr int RightArrowNormalX = 46;
inline constexpr int RightArrowHoverX = 69;
inline constexpr int SelectorBackgroundX = 92;  // 1 pixel wide, stretched behind the texts
inline constexpr int SelectorTextWidth = 59;    // the stretched background between two arrows

// Where the four arrow frames sit on the face (top-left corners, y = 12).
inline constexpr int ArrowTop = 12;
inline constexpr int PreviousYearArrowX = 12;
inline constexpr int NextYearArrowX = 94;
inline constexpr int PreviousMonthArrowX = 124;
inline constexpr int NextMonthArrowX = 206;

}  // namespace kelvo::face
