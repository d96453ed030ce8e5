#include <gtest/gtest.h>

#include <vector>

#include "tests/window/fake_host.h"
#include "window/calendar_wnd.h"
#include "window/face_painter.h"

namespace kelvo::testing {
namespace {

constexpr Color FrameBlue{87, 171, 255};
constexpr Color ButtonGrey{216, 216, 216};
constexpr Color RuleGrey{200, 202, 204};
constexpr Color Red{224, 45, 45};
constexpr Color Orange{255, 187, 0};
constexpr Color OtherGrey{191, 191, 191};
constexpr Color LabelGrey{153, 153, 153};
constexpr Color SeparatorBlue{148, 201, 255};
constexpr Color Black{0, 0, 0};
constexpr Color White{255, 255, 255};
constexpr unsigned Centred = TextCenter | TextVCenter;

// A window on `host` showing (year, month) with `selectedDay` selected.
void Show(CalendarWnd& wnd, int16_t year, int16_t month, int16_t selectedDay) {
  wnd.State.ShownYear = year;
  wnd.State.ShownMonth = month;
  wnd.State.SelectedDay = selectedDay;
  wnd.State.HoverCell = -1;
  wnd.BuildMonth(year, month);
}

// The day-number and label text calls drawn inside one cell, in order.
std::vector<TextCall> TextsInCell(const RecordingCanvas& canvas, const Rect& cell) {
  std::vector<TextCall> result;
  for (const TextCall& text : canvas.Texts()) {
    if (text.Area.Left == cell.Left && text.Area.Right == cell.Right - 1 &&
        text.Area.Top >= cell.Top && text.Area.Bottom == cell.Bottom - 1) {
      result.push_back(text);
    }
  }
  return result;
}

std::vector<BoxCall> BoxesInColour(const RecordingCanvas& canvas, Color outline) {
  std::vector<BoxCall> result;
  for (const BoxCall& box : canvas.Boxes()) {
    if (box.Outline == outline) result.push_back(box);
  }
  return result;
}

class FacePainterTest : public ::testing::Test {
 protected:
  FakeHost host;
  CalendarWnd wnd{host};
  const RecordingCanvas& face = host.Face;
};

// ---- Header and weekday row ----

TEST_F(FacePainterTest, HeaderIsDrawnInOrderWithItsCoordinatesColoursAndFonts) {
  Show(wnd, 2024, 3, 15);
  const std::vector<CanvasCall> expected{
      BoxCall{0, 0, 537, 369, FrameBlue, 2, White},
      CopyCall{PictureId::ArrowStrip, 0, 0, 23, 26, 12, 12, 23, 26},
      CopyCall{PictureId::ArrowStrip, 92, 0, 1, 26, 35, 12, 59, 26},
      CopyCall{PictureId::ArrowStrip, 46, 0, 23, 26, 94, 12, 23, 26},
      TextCall{"2024年", {35, 12, 94, 38}, "Arial", 9, true, false, Black, Centred},
      CopyCall{PictureId::ArrowStrip, 0, 0, 23, 26, 124, 12, 23, 26},
      CopyCall{PictureId::ArrowStrip, 92, 0, 1, 26, 147, 12, 59, 26},
      CopyCall{PictureId::ArrowStrip, 46, 0, 23, 26, 206, 12, 23, 26},
      TextCall{"3月", {147, 12, 206, 38}, "Arial", 9, true, false, Black, Centred},
      BoxCall{236, 12, 318, 38, ButtonGrey, 1, White},
      TextCall{"返回今天", {236, 12, 318, 38}, "Arial", 9, false, false, Black, Centred},
      CopyCall{PictureId::HidePicture, 0, 0, 25, 25, 375, 10, 25, 25},
      BoxCall{12, 48, 396, 48, FrameBlue, 1, FrameBlue},
      TextCall{"一", {12, 49, 66, 82}, "Arial", 9, false, false, Black, Centred},
      TextCall{"二", {67, 49, 121, 82}, "Arial", 9, false, false, Black, Centred},
      TextCall{"三", {122, 49, 176, 82}, "Arial", 9, false, false, Black, Centred},
      TextCall{"四", {177, 49, 231, 82}, "Arial", 9, false, false, Black, Centred},
      TextCall{"五", {232, 49, 286, 82}, "Arial", 9, false, false, Black, Centred},
      TextCall{"六", {287, 49, 341, 82}, "Arial", 9, false, false, Red, Centred},
      TextCall{"日", {342, 49, 396, 82}, "Arial", 9, false, false, Red, Centred},
      BoxCall{12, 82, 396, 82, RuleGrey, 3, RuleGrey},
  };
  ASSERT_GE(face.Calls.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(face.Calls[i], expected[i]) << "call " << i;
  }
}

TEST_F(FacePainterTest, MonthTextHasNoLeadingZero) {
  Show(wnd, 2021, 5, 1);
  EXPECT_EQ(face.TextOf("5月").Area, (Rect{147, 12, 206, 38}));
  EXPECT_EQ(face.TextOf("2021年").Area, (Rect{35, 12, 94, 38}));
}

// ---- Grid geometry ----

struct GridCase {
  int16_t Year, Month;
  int CellCount;
  std::vector<int> RuleRows;
  std::vector<std::pair<int, Rect>> CellRects;
  Rect FirstDayNumber, FirstLabel;  // the text areas of cell 0
};

TEST_F(FacePainterTest, FiveAndSixRowMonthsHaveTheirRulesCellsAndTextRows) {
  // clang-format off
  const GridCase cases[] = {
      {2021, 2, 35, {82, 137, 192, 247, 302},  // rules every 55 pixels
       {{0, {12, 83, 66, 137}}, {1, {67, 83, 121, 137}}, {6, {342, 83, 396, 137}},
        {7, {12, 138, 66, 192}}, {34, {342, 303, 396, 357}}},
       {12, 93, 65, 136}, {12, 115, 65, 136}},  // 10 and 32 pixels below the cell top
      {2021, 5, 42, {82, 128, 174, 220, 266, 312},  // rules every 46 pixels
       {{0, {12, 83, 66, 128}}, {7, {12, 129, 66, 174}}, {41, {342, 313, 396, 358}}},
       {12, 88, 65, 127}, {12, 107, 65, 127}}};  // 5 and 24 pixels below the cell top
  // clang-format on
  for (const GridCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Year << "-" << c.Month);
    host.Face.Clear();
    Show(wnd, c.Year, c.Month, 1);
    EXPECT_EQ(wnd.State.CellCount, c.CellCount);
    std::vector<BoxCall> rules;
    for (int y : c.RuleRows) rules.push_back({12, y, 396, y, RuleGrey, 3, RuleGrey});
    EXPECT_EQ(BoxesInColour(face, RuleGrey), rules);
    for (const auto& [index, rect] : c.CellRects) {
      EXPECT_EQ(wnd.State.DayCells[index].CellRect, rect) << "cell " << index;
    }
    const std::vector<TextCall> texts = TextsInCell(face, wnd.State.DayCells[0].CellRect);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Area, c.FirstDayNumber);
    EXPECT_EQ(texts[1].Area, c.FirstLabel);
  }
}

// ---- Selection, hover and today ----

TEST_F(FacePainterTest, SelectedDay31InThirtyDayMonthIsLoweredTo30) {
  Show(wnd, 2024, 4, 31);
  EXPECT_EQ(wnd.State.SelectedDay, 30);
  // Cell 29 is 2024-04-30.
  EXPECT_EQ(BoxesInColour(face, Orange).front(), (BoxCall{67, 303, 120, 356, Orange, 3, White}));
  EXPECT_EQ(face.TextOf("30").Area, (Rect{67, 313, 120, 356}));
  EXPECT_NE(face.IndexOfText("30", face.IndexOfText("30") + 1), -1) << "big day shows 30";
  EXPECT_EQ(wnd.State.PanelDateText, "2024-04-30");
}

TEST_F(FacePainterTest, SelectionOutlineOnlyOnCellOfShownMonth) {
  // Cell 0 is 2021-02-01 and cell 28 the trailing 2021-03-01.
  Show(wnd, 2021, 2, 1);
  EXPECT_EQ(BoxesInColour(face, Orange).front(), (BoxCall{12, 83, 65, 136, Orange, 3, White}));
  EXPECT_EQ(BoxesInColour(face, Orange).size(), 2u) << "the selection and the big-day box";
}

TEST_F(FacePainterTest, HoverOutlineIsDrawnOnOtherMonthCells) {
  wnd.State.HoverCell = 0;  // 2024-02-26 in the March grid
  wnd.State.ShownYear = 2024;
  wnd.State.ShownMonth = 3;
  wnd.State.SelectedDay = 20;
  wnd.BuildMonth(2024, 3);
  const std::vector<BoxCall> orange = BoxesInColour(face, Orange);
  EXPECT_EQ(orange[0], (BoxCall{12, 83, 65, 136, Orange, 3, White}));
}

TEST_F(FacePainterTest, TodayFillIsDrawnAfterSelectionAndHoverOutlines) {
  // Today is 2024-03-15, cell 18, here selected and hovered as well.
  Show(wnd, 2024, 3, 15);
  wnd.State.HoverCell = 18;
  host.Face.Clear();
  wnd.PaintCalendar();
  const std::vector<BoxCall> expected{
      {232, 193, 285, 246, Orange, 3, White},   // selection outline
      {232, 193, 285, 246, Orange, 3, White},   // hover outline
      {232, 193, 285, 246, Orange, 3, Orange},  // today's fill, drawn last
      {435, 50, 509, 124, Orange, 3, Orange},   // big day
  };
  EXPECT_EQ(BoxesInColour(face, Orange), expected);
  const int fill = face.IndexOfText("15");
  ASSERT_NE(fill, -1);
  EXPECT_EQ(std::get<TextCall>(face.Calls[fill]).TextColor, White);
}

struct CellTextCase {
  int16_t Year, Month;
  Rect Cell;
  TextCall Day, Label;
};

TEST_F(FacePainterTest, DayNumbersAndLabelsUseTheirFontsAndTodaysAreWhite) {
  constexpr unsigned Top = TextCenter | TextTop;
  constexpr unsigned Ellipsis = TextCenter | TextTop | TextEndEllipsis;
  // clang-format off
  const CellTextCase cases[] = {
      {2021, 2, {12, 83, 66, 137},  // 2021-02-01, 腊月二十
       {"1", {12, 93, 65, 136}, "Arial", 13, true, false, Black, Top},
       {"二十", {12, 115, 65, 136}, "宋体", 9, false, false, LabelGrey, Ellipsis}},
      {2024, 3, {232, 193, 286, 247},  // 2024-03-15, today, carries 消权日
       {"15", {232, 203, 285, 246}, "Arial", 13, true, false, White, Top},
       {"消权日", {232, 225, 285, 246}, "宋体", 9, false, false, White, Ellipsis}}};
  // clang-format on
  for (const CellTextCase& c : cases) {
    Show(wnd, c.Year, c.Month, 1);
    const std::vector<TextCall> texts = TextsInCell(face, c.Cell);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], c.Day);
    EXPECT_EQ(texts[1], c.Label);
    host.Face.Clear();
  }
}

// ---- Text colours ----

struct ColourCase {
  int Cell;
  const char* Day;
  Color DayColour;
  const char* Label;
  Color LabelColour;
};

TEST_F(FacePainterTest, WeekendsAreRedLabelsGreyUnlessMarkedAndOtherMonthsGrey) {
  Show(wnd, 2024, 2, 1);
  const ColourCase cases[] = {
      {5, "3", Red, "廿四", LabelGrey},           // Saturday
      {6, "4", Red, "立春", Red},                 // Sunday with a term
      {7, "5", Black, "廿六", LabelGrey},         // Monday
      {34, "3", OtherGrey, "爱耳日", OtherGrey},  // a festival of March
  };
  for (const ColourCase& c : cases) {
    const std::vector<TextCall> texts = TextsInCell(face, wnd.State.DayCells[c.Cell].CellRect);
    ASSERT_EQ(texts.size(), 2u) << "cell " << c.Cell;
    EXPECT_EQ(texts[0].Text, c.Day);
    EXPECT_EQ(texts[0].TextColor, c.DayColour) << c.Day;
    EXPECT_EQ(texts[1].Text, c.Label);
    EXPECT_EQ(texts[1].TextColor, c.LabelColour) << c.Label;
  }
}

// ---- Date panel ----

struct PanelCase {
  const char *Date, *Weekday, *Lunar, *Year;
};

// The year line names the lunar year with the zodiac of the shown year.
TEST_F(FacePainterTest, PanelNamesDateWeekdayLunarDayAndYear) {
  const PanelCase cases[] = {
      {"2024-01-15", "星期一", "腊月初五", "癸卯年 【龙年】"},
      {"2024-02-14", "星期三", "正月初五", "甲辰年 【龙年】"},
  };
  for (const auto& [date, weekday, lunar, year] : cases) {
    const Date shown = ParseIsoDate(date).value();
    host.Face.Clear();
    Show(wnd, shown.Year, shown.Month, shown.Day);
    EXPECT_EQ(wnd.State.PanelDateText, date);
    EXPECT_EQ(wnd.State.PanelLunarText, lunar);
    EXPECT_EQ(wnd.State.PanelYearText, year);
    for (const char* text : {date, weekday, lunar, year}) {
      EXPECT_NE(face.IndexOfText(text), -1) << text;
    }
  }
}

TEST_F(FacePainterTest, DatePanelWithUnderlinedLinksIsDrawnInOrderAfterTheGrid) {
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版发布", "http://a/1"},
                                 {{410, 232, 533, 252}, "使用说明", "http://a/2"}};
  wnd.State.LinkCount = 2;
  Show(wnd, 2024, 3, 15);
  size_t gradient = 0;
  for (size_t i = 0; i < face.Calls.size(); ++i) {
    if (std::holds_alternative<GradientCall>(face.Calls[i])) gradient = i;
  }
  ASSERT_GT(gradient, 0u);
  const std::vector<CanvasCall> expected{
      GradientCall{{408, 3, 535, 367}, {85, 170, 255}, {115, 185, 255}},
      BoxCall{435, 50, 509, 124, Orange, 3, Orange},
      TextCall{"15", {435, 50, 510, 125}, "Arial", 38, false, false, White, Centred},
      TextCall{"2024-03-15", {419, 17, 491, 37}, "Arial", 10, false, false, White, 0},
      TextCall{"星期五", {487, 19, 535, 37}, "宋体", 10, false, false, White, 0},
      TextCall{"二月初六", {408, 131, 535, 151}, "宋体", 10, false, false, White, Centred},
      TextCall{"甲辰年 【龙年】", {408, 152, 535, 172}, "宋体", 10, false, false, White, Centred},
      BoxCall{418, 200, 527, 201, SeparatorBlue, 3, SeparatorBlue},
      TextCall{"新版发布", {410, 210, 533, 230}, "宋体", 10, false, true, White, Centred},
      TextCall{"使用说明", {410, 232, 533, 252}, "宋体", 10, false, true, White, Centred},
      TextCall{"版本：1.0", {408, 322, 535, 342}, "宋体", 10, false, false, White, Centred},
      TextCall{"Kelvo软件工作室", {408, 342, 535, 362}, "宋体", 10, false, false, White, Centred},
  };
  ASSERT_EQ(face.Calls.size(), gradient + expected.size()) << "nothing after the studio line";
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(face.Calls[gradient + i], expected[i]) << "panel call " << i;
  }
}

TEST_F(FacePainterTest, OnlyTheLinksCountedHeldAndOnTheFaceAreDrawn) {
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "甲", "http://a/1"},
                                 {{410, 232, 533, 252}, "乙", "http://a/2"}};
  wnd.State.LinkCount = 1;
  Show(wnd, 2024, 3, 15);
  EXPECT_NE(face.IndexOfText("甲"), -1);
  EXPECT_EQ(face.IndexOfText("乙"), -1);

  wnd.State.AnnouncementLinks.pop_back();
  wnd.State.LinkCount = 5;  // more than are held
  host.Face.Clear();
  wnd.PaintCalendar();
  EXPECT_NE(face.IndexOfText("甲"), -1);
  EXPECT_EQ(face.IndexOfText("版本：1.0"), face.IndexOfText("甲") + 1);

  wnd.State.AnnouncementLinks = {{{410, 345, 538, 365}, "第六", "http://a/6"},
                                 {{410, 370, 538, 390}, "第七", "http://a/7"}};
  wnd.State.LinkCount = 2;
  host.Face.Clear();
  wnd.PaintCalendar();
  EXPECT_NE(face.IndexOfText("第六"), -1);
  EXPECT_EQ(face.IndexOfText("第七"), -1) << "below the face";
}

// ---- Robustness ----

TEST_F(FacePainterTest, EmptyStateOrUnreadableDatePaintsFrameRulesAndPanelWithoutCells) {
  CalendarState state;  // nothing built yet
  RecordingCanvas canvas;
  PaintFace(state, canvas);
  EXPECT_EQ(BoxesInColour(canvas, RuleGrey).size(), 5u);
  EXPECT_EQ(canvas.TextOf("星期").Area, (Rect{487, 19, 535, 37}));
  EXPECT_NE(canvas.IndexOfText("Kelvo软件工作室"), -1);
  state.PanelDateText = "2024-13-45";
  canvas.Clear();
  PaintFace(state, canvas);
  EXPECT_NE(canvas.IndexOfText("星期"), -1) << "the weekday word alone";
}

TEST_F(FacePainterTest, RepaintWritesTheSameFaceAgain) {
  Show(wnd, 2024, 3, 15);
  const std::vector<CanvasCall> first = face.Calls;
  host.Face.Clear();
  wnd.PaintCalendar();
  EXPECT_EQ(face.Calls, first);
}

}  // namespace
}  // namespace kelvo::testing
