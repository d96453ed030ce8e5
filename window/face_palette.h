#pragma once
#include "window/face_layout.h"

namespace kelvo {

// The colours the painter draws with. The normal face has its own colours;
// under high contrast every colour is one of the system's, and the painter
// also leaves out the gradient and the pictures behind text, frames today
// instead of filling it, and fills the selection.
struct FacePalette {
  bool HighContrast = false;
  Color Background;
  Color Text;
  Color Frame;   // outer frame, header rule
  Color Button;  // the "返回今天" outline
  Color Rule;    // grid rules
  Color Weekend;
  Color Festival;   // a festival or term label
  Color Mark;       // selection and hover outlines, today, the big day
  Color TodayText;  // on the normal face's filled today
  Color OtherMonth;
  Color Label;  // the lunar line of a cell
  Color DayOff;
  Color Workday;
  Color PanelTop;
  Color PanelBottom;
  Color PanelSeparator;
  Color PanelText;
  Color Selection;      // the selected cell's fill, under high contrast
  Color SelectionText;  // its text
  Color OwnDay;         // the mark of a cell holding one of the user's days
  friend constexpr bool operator==(const FacePalette&, const FacePalette&) = default;
};

inline constexpr FacePalette NormalPalette{
    .Background = face::White,
    .Text = face::Black,
    .Frame = face::FrameBlue,
    .Button = face::ButtonOutline,
    .Rule = face::GridRule,
    .Weekend = face::WeekendRed,
    .Festival = face::WeekendRed,
    .Mark = face::Orange,
    .TodayText = face::White,
    .OtherMonth = face::OtherMonthGrey,
    .Label = face::LabelGrey,
    .DayOff = face::WeekendRed,
    .Workday = face::WorkdayGrey,
    .PanelTop = face::PanelTop,
    .PanelBottom = face::PanelBottom,
    .PanelSeparator = face::PanelSeparator,
    .PanelText = face::White,
    .Selection = face::Orange,
    .SelectionText = face::White,
    .OwnDay = face::OwnDayGreen,
};

// The system colours COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
// COLOR_HIGHLIGHTTEXT and COLOR_GRAYTEXT, as a high-contrast palette.
constexpr FacePalette HighContrastPalette(Color window, Color windowText, Color highlight,
                                          Color highlightText, Color grayText) {
  return {
      .HighContrast = true,
      .Background = window,
      .Text = windowText,
      .Frame = windowText,
      .Button = windowText,
      .Rule = grayText,
      .Weekend = windowText,
      .Festival = windowText,
      .Mark = highlight,
      .TodayText = windowText,
      .OtherMonth = grayText,
      .Label = grayText,
      .DayOff = windowText,
      .Workday = windowText,
      .PanelTop = window,
      .PanelBottom = window,
      .PanelSeparator = windowText,
      .PanelText = windowText,
      .Selection = highlight,
      .SelectionText = highlightText,
      .OwnDay = windowText,
  };
}

}  // namespace kelvo
