#include "window/face_painter.h"

#include <algorithm>
#include <optional>
#include <string>

#include "calendar/date.h"
#include "calendar/holidays.h"
#include "calendar/lunar.h"
#include "calendar/tables.h"
#include "kelvo_version.h"
#include "window/face_layout.h"
#include "window/hot_regions.h"
#include "window/own_days_view.h"

namespace kelvo {
namespace {

using namespace face;

// The row layout depends only on how many cells the month needs.
struct GridRows {
  int Count;
  int Height;
  int DayTextDrop;    // from the cell's top to the day number
  int LabelTextDrop;  // from the day number to the label
};
constexpr GridRows FiveRows{5, 55, 10, 22};
constexpr GridRows SixRows{6, 46, 5, 19};

constexpr int GridLeft = 12;
constexpr int GridRight = 396;
constexpr int FirstRuleY = 82;
constexpr int ColumnPitch = 55;
constexpr int CellWidth = 54;

constexpr Rect YearTextRect{35, 12, 94, 38};
constexpr Rect MonthTextRect{147, 12, 206, 38};
constexpr Rect BackToTodayRect{236, 12, 318, 38};
constexpr Rect PanelRect{408, 3, 535, 367};
constexpr Rect BigDayRect{435, 50, 510, 125};
constexpr Rect PanelDateRect{419, 17, 491, 37};
constexpr Rect PanelWeekdayRect{487, 19, 535, 37};
constexpr Rect PanelLunarRect{408, 131, 535, 151};
constexpr Rect PanelYearRect{408, 152, 535, 172};
constexpr Rect PanelHolidayRect{408, 174, 535, 194};
constexpr Rect PanelOwnDayRect{408, 203, 535, 219};  // under the separator, above the links
constexpr Rect VersionRect{408, 322, 535, 342};
constexpr Rect StudioRect{408, 342, 535, 362};

constexpr unsigned Centred = TextCenter | TextVCenter;

// The canvas has no pen state; the painter keeps the current line width,
// font and text colour here, switching them step by step as the face does.
struct Pen {
  Canvas& canvas;
  const FacePalette& palette;
  int lineWidth = 1;
  FontSpec font{ArialFont, 9, false, false};
  Color textColor = palette.Text;

  void Outline(int x1, int y1, int x2, int y2, Color color) {
    canvas.Box(x1, y1, x2, y2, color, lineWidth, palette.Background);
  }
  void Filled(int x1, int y1, int x2, int y2, Color color) {
    canvas.Box(x1, y1, x2, y2, color, lineWidth, color);
  }
  void Text(std::string_view text, const Rect& area, unsigned flags) {
    canvas.Text(text, area, font, textColor, flags);
  }
};

// The date panel's holiday line, e.g. "国庆节 · 休". A festival name longer
// than the panel holds (there is one, of 2015) is cut to six characters and
// an ellipsis, so that the mark stays visible.
std::string HolidayPanelLine(const DayCell& cell) {
  if (cell.Holiday == HolidayMark::None) return {};
  constexpr int MaxCharacters = 7;
  const std::string_view name = cell.HolidayFestival;
  size_t sixCharacters = name.size();
  int characters = 0;
  for (size_t i = 0; i < name.size() && characters <= MaxCharacters; ++i) {
    if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;  // inside a character
    if (characters == MaxCharacters - 1) sixCharacters = i;
    ++characters;
  }
  std::string line(characters > MaxCharacters ? name.substr(0, sixCharacters) : name);
  if (characters > MaxCharacters) line.append("…");
  line.append(" · ").append(HolidayMarkText(cell.Holiday));
  return line;
}

// Under high contrast the pictures, in colours of their own, give way to
// outlined buttons with the arrow as a character.
void DrawPlainButton(Pen& pen, int x, int y, int width, int height, std::string_view symbol) {
  pen.Outline(x, y, x + width - 1, y + height - 1, pen.palette.Frame);
  pen.Text(symbol, {x, y, x + width, y + height}, Centred);
}

// Draws the two arrows and the stretched background of one selector.
void DrawSelectorArrows(Pen& pen, int leftArrowX) {
  Canvas& canvas = pen.canvas;
  const int textX = leftArrowX + ArrowFrameWidth;
  const int rightArrowX = textX + SelectorTextWidth;
  if (pen.palette.HighContrast) {
    DrawPlainButton(pen, leftArrowX, ArrowTop, ArrowFrameWidth, ArrowStripHeight, "<");
    DrawPlainButton(pen, rightArrowX, ArrowTop, ArrowFrameWidth, ArrowStripHeight, ">");
    return;
  }
  canvas.StretchCopy(PictureId::ArrowStrip, LeftArrowNormalX, 0, ArrowFrameWidth, ArrowStripHeight,
                     leftArrowX, ArrowTop, ArrowFrameWidth, ArrowStripHeight);
  canvas.StretchCopy(PictureId::ArrowStrip, SelectorBackgroundX, 0, 1, ArrowStripHeight, textX,
                     ArrowTop, SelectorTextWidth, ArrowStripHeight);
  canvas.StretchCopy(PictureId::ArrowStrip, RightArrowNormalX, 0, ArrowFrameWidth, ArrowStripHeight,
                     rightArrowX, ArrowTop, ArrowFrameWidth, ArrowStripHeight);
}

void PaintHeader(const CalendarState& state, Pen& pen) {
  Canvas& canvas = pen.canvas;
  const FacePalette& palette = pen.palette;
  pen.lineWidth = 2;
  pen.Outline(0, 0, FaceWidth - 1, FaceHeight - 1, palette.Frame);

  pen.textColor = palette.Text;
  pen.font = {ArialFont, 9, true, false};
  pen.lineWidth = 1;
  DrawSelectorArrows(pen, PreviousYearArrowX);
  pen.Text(std::to_string(state.ShownYear) + "年", YearTextRect, Centred);
  DrawSelectorArrows(pen, PreviousMonthArrowX);
  pen.Text(std::to_string(state.ShownMonth) + "月", MonthTextRect, Centred);

  pen.font.Bold = false;
  pen.Outline(BackToTodayRect.Left, BackToTodayRect.Top, BackToTodayRect.Right,
              BackToTodayRect.Bottom, palette.Button);
  pen.Text("返回今天", BackToTodayRect, Centred);

  if (palette.HighContrast) {
    DrawPlainButton(pen, 375, 10, HidePictureWidth, HidePictureHeight, "×");
  } else {
    canvas.StretchCopy(PictureId::HidePicture, 0, 0, HidePictureWidth, HidePictureHeight, 375, 10,
                       HidePictureWidth, HidePictureHeight);
  }

  // Rules are drawn as boxes thinner than their line: solid in their colour.
  pen.Filled(GridLeft, 48, GridRight, 48, palette.Frame);
}

void PaintWeekdayRow(Pen& pen) {
  pen.font = {ArialFont, 9, false, false};
  for (int c = 0; c < 7; ++c) {
    pen.textColor = c >= 5 ? pen.palette.Weekend : pen.palette.Text;
    pen.Text(WeekdayNames[c], {GridLeft + ColumnPitch * c, 49, 66 + ColumnPitch * c, 82}, Centred);
  }
}

void PaintCell(CalendarState& state, Pen& pen, const GridRows& rows, int r, int c) {
  const int i = 7 * r + c;
  DayCell& cell = state.DayCells[i];
  cell.CellRect = {GridLeft + ColumnPitch * c, FirstRuleY + 1 + r * rows.Height,
                   GridLeft + CellWidth + ColumnPitch * c, FirstRuleY + (r + 1) * rows.Height};
  // R covers exactly the cell's pixels when drawn as a box from corner to corner.
  Rect box{cell.CellRect.Left, cell.CellRect.Top, cell.CellRect.Right - 1,
           cell.CellRect.Bottom - 1};

  const FacePalette& palette = pen.palette;
  const bool selected = DayNumber(cell) == state.SelectedDay && !cell.IsOtherMonth;
  // Text on the high-contrast selection's fill.
  const bool onSelection = selected && palette.HighContrast;
  if (selected) {
    if (onSelection) {
      pen.Filled(box.Left, box.Top, box.Right, box.Bottom, palette.Selection);
    } else {
      pen.Outline(box.Left, box.Top, box.Right, box.Bottom, palette.Mark);
    }
    state.PanelLunarText = cell.LunarMonthText + cell.LunarDayText;
    state.PanelYearText =
        cell.LunarYearText + " 【" + std::string(ZodiacOfYear(state.ShownYear)) + "年】";
    state.PanelDateText = cell.DateText;
    state.PanelHolidayText = HolidayPanelLine(cell);
    state.PanelOwnDayText = OwnDaysPanelText(cell.OwnDayLines);
  }
  if (i == state.HoverCell) pen.Outline(box.Left, box.Top, box.Right, box.Bottom, palette.Mark);

  // Under high contrast today is framed, so the selection's fill and the
  // characters stay as they are.
  const bool filledToday = cell.IsToday && !palette.HighContrast;
  pen.textColor = cell.IsOtherMonth ? palette.OtherMonth : c >= 5 ? palette.Weekend : palette.Text;
  if (cell.IsToday) {
    if (filledToday) {
      pen.Filled(box.Left, box.Top, box.Right, box.Bottom, palette.Mark);
    } else {
      const Color frame = onSelection ? palette.SelectionText : palette.Text;
      pen.canvas.Box(box.Left, box.Top, box.Right, box.Bottom, frame, pen.lineWidth,
                     onSelection ? palette.Selection : palette.Background);
    }
  }
  if (filledToday) pen.textColor = palette.TodayText;
  if (onSelection) pen.textColor = palette.SelectionText;

  pen.font = {ArialFont, 13, true, false};
  box.Top += rows.DayTextDrop;
  pen.Text(cell.DayText, box, TextCenter | TextTop);

  pen.textColor = cell.IsOtherMonth       ? palette.OtherMonth
                  : cell.IsFestivalOrTerm ? palette.Festival
                                          : palette.Label;
  if (filledToday) pen.textColor = palette.TodayText;
  if (onSelection) pen.textColor = palette.SelectionText;
  pen.font = {SongFont, 9, false, false};
  box.Top += rows.LabelTextDrop;
  pen.Text(cell.LabelText, box, TextCenter | TextTop | TextEndEllipsis);

  // The 休/班 mark goes last, so it shows on top of whatever the cell drew.
  if (cell.Holiday != HolidayMark::None) {
    pen.textColor = filledToday                           ? palette.TodayText
                    : onSelection                         ? palette.SelectionText
                    : cell.IsOtherMonth                   ? palette.OtherMonth
                    : cell.Holiday == HolidayMark::DayOff ? palette.DayOff
                                                          : palette.Workday;
    pen.font = {SongFont, 8, false, false};
    const Rect& area = cell.CellRect;
    pen.Text(HolidayMarkText(cell.Holiday),
             {area.Right - 15, area.Top + 2, area.Right - 1, area.Top + 16}, Centred);
  }
  if (!cell.OwnDayNames.empty()) {
    const int left = cell.CellRect.Left + OwnDayMarkInset;
    const int bottom = cell.CellRect.Bottom - OwnDayMarkInset;
    pen.lineWidth = 1;
    pen.Filled(left, bottom - OwnDayMarkSize, left + OwnDayMarkSize - 1, bottom - 1,
               cell.IsToday && !palette.HighContrast ? palette.TodayText
               : onSelection                           ? palette.SelectionText
               : cell.IsOtherMonth                     ? palette.OtherMonth
                                                       : palette.OwnDay);
    pen.lineWidth = 3;
  }
}

void PaintGrid(CalendarState& state, Pen& pen, const GridRows& rows) {
  // The selection never points past the month (a shorter month was built).
  if (state.SelectedDay > state.DaysInMonth) state.SelectedDay = state.DaysInMonth;
  const int cellsAvailable = static_cast<int>(state.DayCells.size());
  for (int r = 0; r < rows.Count; ++r) {
    const int ruleY = FirstRuleY + r * rows.Height;
    pen.Filled(GridLeft, ruleY, GridRight, ruleY, pen.palette.Rule);
    for (int c = 0; c < 7; ++c) {
      if (7 * r + c < cellsAvailable) PaintCell(state, pen, rows, r, c);
    }
  }
}

void PaintDatePanel(const CalendarState& state, Pen& pen) {
  const FacePalette& palette = pen.palette;
  if (palette.HighContrast) {
    pen.lineWidth = 3;
    pen.Outline(BigDayRect.Left, BigDayRect.Top, BigDayRect.Right - 1, BigDayRect.Bottom - 1,
                palette.Text);
  } else {
    pen.canvas.VerticalGradient(PanelRect, palette.PanelTop, palette.PanelBottom);
    pen.Filled(BigDayRect.Left, BigDayRect.Top, BigDayRect.Right - 1, BigDayRect.Bottom - 1,
               palette.Mark);
  }
  pen.textColor = palette.PanelText;
  pen.font = {ArialFont, 38, false, false};
  pen.Text(std::to_string(state.SelectedDay), BigDayRect, Centred);

  pen.font = {ArialFont, 10, false, false};
  pen.Text(state.PanelDateText, PanelDateRect, TextLeft | TextTop);

  pen.font = {SongFont, 10, false, false};
  std::string weekday = "星期";
  if (std::optional<Date> date = ParseIsoDate(state.PanelDateText)) {
    weekday += WeekdayNames[WeekdayFromMonday(*date)];
  }
  pen.Text(weekday, PanelWeekdayRect, TextLeft | TextTop);

  pen.Text(state.PanelLunarText, PanelLunarRect, Centred);
  pen.Text(state.PanelYearText, PanelYearRect, Centred);
  if (!state.PanelHolidayText.empty()) {
    pen.font = {SongFont, 9, false, false};
    pen.Text(state.PanelHolidayText, PanelHolidayRect, Centred);
    pen.font = {SongFont, 10, false, false};
  }

  pen.lineWidth = 3;
  pen.Filled(418, 200, 527, 201, palette.PanelSeparator);
  if (!state.PanelOwnDayText.empty()) {
    pen.font = {SongFont, 9, false, false};
    pen.Text(state.PanelOwnDayText, PanelOwnDayRect, Centred);
    pen.font = {SongFont, 10, false, false};
  }

  pen.font.Underline = true;
  const int links =
      std::min<int>(state.LinkCount, static_cast<int>(state.AnnouncementLinks.size()));
  for (int k = 0; k < links; ++k) {
    const AnnouncementLink& link = state.AnnouncementLinks[k];
    // A long list runs below the face; drawing those rows shows nothing and
    // would make every repaint as slow as the list is long.
    if (link.LinkRect.Top >= FaceHeight || link.LinkRect.Bottom <= 0) continue;
    pen.Text(link.LinkTitle, link.LinkRect, Centred);
  }

  pen.font.Underline = false;
  pen.Text("版本：" KELVO_VERSION_MAJOR_MINOR_TEXT, VersionRect, Centred);
  pen.Text("Kelvo软件工作室", StudioRect, Centred);
}

}  // namespace

void PaintFace(CalendarState& state, Canvas& canvas, const FacePalette& palette) {
  Pen pen{canvas, palette};
  PaintHeader(state, pen);
  const GridRows& rows = state.CellCount <= 35 ? FiveRows : SixRows;
  pen.lineWidth = 3;
  PaintWeekdayRow(pen);
  PaintGrid(state, pen, rows);
  PaintDatePanel(state, pen);
}

}  // namespace kelvo
