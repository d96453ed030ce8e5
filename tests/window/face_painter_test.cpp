#include "window/face_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/window/fake_host.h"
#include "window/calendar_wnd.h"

namespace kelvo::testing {
namespace {

using Calls = std::vector<std::string>;

class FacePainterTest : public ::testing::Test {
 protected:
  // The face of (year, month) with `selected` chosen and `hover` under the mouse.
  const RecordingCanvas& Show(int16_t year, int16_t month, int16_t selected, int hover = -1) {
    wnd.State.ShownYear = year;
    wnd.State.ShownMonth = month;
    wnd.State.SelectedDay = selected;
    wnd.State.HoverCell = hover;
    host.Face.Clear();
    wnd.BuildMonth(year, month);
    return host.Face;
  }
  FakeHost host;  // today is 2024-03-15
  CalendarWnd wnd{host};
};

TEST_F(FacePainterTest, HeaderAndWeekdayRowAreDrawnFirstInOrder) {
  const Calls& calls = Show(2024, 3, 15).Calls;
  const Calls expected{"box 0,0-537,369 87,171,255 w2 fill 255,255,255",
                       "copy arrows 0,0 23x26 -> 12,12 23x26",
                       "copy arrows 92,0 1x26 -> 35,12 59x26",
                       "copy arrows 46,0 23x26 -> 94,12 23x26",
                       "text 2024年 35,12,94,38 Arial 9 bold 0,0,0 centre middle",
                       "copy arrows 0,0 23x26 -> 124,12 23x26",
                       "copy arrows 92,0 1x26 -> 147,12 59x26",
                       "copy arrows 46,0 23x26 -> 206,12 23x26",
                       "text 3月 147,12,206,38 Arial 9 bold 0,0,0 centre middle",
                       "box 236,12-318,38 216,216,216 w1 fill 255,255,255",
                       "text 返回今天 236,12,318,38 Arial 9 0,0,0 centre middle",
                       "copy hide 0,0 25x25 -> 375,10 25x25",
                       "box 12,48-396,48 87,171,255 w1 fill 87,171,255",
                       "text 一 12,49,66,82 Arial 9 0,0,0 centre middle",
                       "text 二 67,49,121,82 Arial 9 0,0,0 centre middle",
                       "text 三 122,49,176,82 Arial 9 0,0,0 centre middle",
                       "text 四 177,49,231,82 Arial 9 0,0,0 centre middle",
                       "text 五 232,49,286,82 Arial 9 0,0,0 centre middle",
                       "text 六 287,49,341,82 Arial 9 224,45,45 centre middle",
                       "text 日 342,49,396,82 Arial 9 224,45,45 centre middle",
                       "box 12,82-396,82 200,202,204 w3 fill 200,202,204"};
  ASSERT_GE(calls.size(), expected.size());
  EXPECT_EQ(Calls(calls.begin(), calls.begin() + expected.size()), expected);
}

struct GridCase {
  int16_t Year, Month;
  std::vector<int> RuleRows;
  std::vector<std::pair<int, Rect>> CellRects;
  Calls FirstCell;
};

TEST_F(FacePainterTest, FiveAndSixRowMonthsHaveTheirRulesCellsAndTextRows) {
  const GridCase cases[] = {
      {2021,
       2,
       {82, 137, 192, 247, 302},  // 35 cells, 55 pixels a row
       {{0, {12, 83, 66, 137}},
        {1, {67, 83, 121, 137}},
        {7, {12, 138, 66, 192}},
        {34, {342, 303, 396, 357}}},
       {"box 12,83-65,136 255,187,0 w3 fill 255,255,255",  // the 1st, selected
        "text 1 12,93,65,136 Arial 13 bold 0,0,0 centre",
        "text 二十 12,115,65,136 宋体 9 153,153,153 centre ellipsis"}},
      {2021,
       5,
       {82, 128, 174, 220, 266, 312},  // 42 cells, 46 pixels a row
       {{0, {12, 83, 66, 128}}, {7, {12, 129, 66, 174}}, {41, {342, 313, 396, 358}}},
       {"text 26 12,88,65,127 Arial 13 bold 191,191,191 centre",  // April 26th
        "text 十五 12,107,65,127 宋体 9 191,191,191 centre ellipsis"}}};
  for (const GridCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Year << "-" << c.Month);
    Calls rules;
    for (const std::string& call : Show(c.Year, c.Month, 1).Calls) {
      if (call.find("200,202,204 w3") != std::string::npos) rules.push_back(call);
    }
    Calls expected;
    for (int y : c.RuleRows) {
      const std::string at = std::to_string(y);
      expected.push_back("box 12," + at + "-396," + at + " 200,202,204 w3 fill 200,202,204");
    }
    EXPECT_EQ(rules, expected);
    for (const auto& [index, rect] : c.CellRects) {
      EXPECT_EQ(wnd.State.DayCells[index].CellRect, rect) << "cell " << index;
    }
    EXPECT_EQ(host.Face.Within(wnd.State.DayCells[0].CellRect), c.FirstCell);
  }
}

struct CellCase {
  int16_t Year, Month, Selected;
  int Hover, Cell;
  Calls Expected;
};

// Outlines come before today's fill, so a selected or hovered today shows
// only the fill; the selection needs a day of the shown month, the hover not.
TEST_F(FacePainterTest, CellsShowSelectionHoverTodayAndTheirTextColours) {
  const CellCase cases[] = {{2024,
                             3,
                             15,
                             18,
                             18,  // today, selected and hovered, with a festival
                             {"box 232,193-285,246 255,187,0 w3 fill 255,255,255",
                              "box 232,193-285,246 255,187,0 w3 fill 255,255,255",
                              "box 232,193-285,246 255,187,0 w3 fill 255,187,0",
                              "text 15 232,203,285,246 Arial 13 bold 255,255,255 centre",
                              "text 消权日 232,225,285,246 宋体 9 255,255,255 centre ellipsis"}},
                            {2024,
                             4,
                             31,
                             -1,
                             29,  // the 31st selected in a 30-day month: the 30th
                             {"box 67,303-120,356 255,187,0 w3 fill 255,255,255",
                              "text 30 67,313,120,356 Arial 13 bold 0,0,0 centre",
                              "text 廿二 67,335,120,356 宋体 9 153,153,153 centre ellipsis"}},
                            {2024,
                             2,
                             1,
                             34,
                             34,  // a hovered festival of March: grey
                             {"box 342,303-395,356 255,187,0 w3 fill 255,255,255",
                              "text 3 342,313,395,356 Arial 13 bold 191,191,191 centre",
                              "text 爱耳日 342,335,395,356 宋体 9 191,191,191 centre ellipsis"}},
                            {2024,
                             2,
                             1,
                             -1,
                             32,  // March 1st carries the selected number but is not selected
                             {"text 1 232,313,285,356 Arial 13 bold 191,191,191 centre",
                              "text 廿一 232,335,285,356 宋体 9 191,191,191 centre ellipsis"}},
                            {2024,
                             2,
                             1,
                             -1,
                             5,  // Saturday: red number, grey label
                             {"text 3 287,93,340,136 Arial 13 bold 224,45,45 centre",
                              "text 廿四 287,115,340,136 宋体 9 153,153,153 centre ellipsis"}},
                            {2024,
                             2,
                             1,
                             -1,
                             6,  // Sunday with a solar term: both red
                             {"text 4 342,93,395,136 Arial 13 bold 224,45,45 centre",
                              "text 立春 342,115,395,136 宋体 9 224,45,45 centre ellipsis"}}};
  for (const CellCase& c : cases) {
    Show(c.Year, c.Month, c.Selected, c.Hover);
    EXPECT_EQ(host.Face.Within(wnd.State.DayCells[c.Cell].CellRect), c.Expected)
        << c.Year << "-" << c.Month << " cell " << c.Cell;
  }
  EXPECT_EQ(wnd.State.SelectedDay, 1);
  Show(2024, 4, 31);
  EXPECT_EQ(wnd.State.SelectedDay, 30);
  EXPECT_TRUE(host.Face.Drew("text 30 435,50,510,125 Arial 38 255,255,255"));
}

TEST_F(FacePainterTest, DatePanelWithUnderlinedLinksIsDrawnLast) {
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版发布", "http://a/1"},
                                 {{410, 232, 533, 252}, "使用说明", "http://a/2"},
                                 {{410, 370, 538, 390}, "第三", "http://a/3"}};
  wnd.State.LinkCount = 5;  // more than are held; the third lies below the face
  const Calls& calls = Show(2024, 3, 15).Calls;
  const Calls expected{"gradient 408,3,535,367 85,170,255 -> 115,185,255",
                       "box 435,50-509,124 255,187,0 w3 fill 255,187,0",
                       "text 15 435,50,510,125 Arial 38 255,255,255 centre middle",
                       "text 2024-03-15 419,17,491,37 Arial 10 255,255,255",
                       "text 星期五 487,19,535,37 宋体 10 255,255,255",
                       "text 二月初六 408,131,535,151 宋体 10 255,255,255 centre middle",
                       "text 甲辰年 【龙年】 408,152,535,172 宋体 10 255,255,255 centre middle",
                       "box 418,200-527,201 148,201,255 w3 fill 148,201,255",
                       "text 新版发布 410,210,533,230 宋体 10 underline 255,255,255 centre middle",
                       "text 使用说明 410,232,533,252 宋体 10 underline 255,255,255 centre middle",
                       "text 版本：1.0 408,322,535,342 宋体 10 255,255,255 centre middle",
                       "text Kelvo软件工作室 408,342,535,362 宋体 10 255,255,255 centre middle"};
  ASSERT_GE(calls.size(), expected.size());
  EXPECT_EQ(Calls(calls.end() - expected.size(), calls.end()), expected);
  // Before the lunar new year the stem-branch year is the old one, the zodiac the shown year's.
  wnd.State.LinkCount = 1;
  Show(2024, 1, 15);
  EXPECT_TRUE(host.Face.Drew("text 新版发布 "));
  EXPECT_FALSE(host.Face.Drew("text 使用说明 "));
  EXPECT_TRUE(host.Face.Drew("text 星期一 "));
  EXPECT_TRUE(host.Face.Drew("text 腊月初五 "));
  EXPECT_TRUE(host.Face.Drew("text 癸卯年 【龙年】 "));
}

TEST_F(FacePainterTest, NothingBuiltOrAnUnreadableDateStillPaintsTheFrame) {
  CalendarState state;
  RecordingCanvas canvas;
  PaintFace(state, canvas);
  EXPECT_EQ(std::count_if(canvas.Calls.begin(), canvas.Calls.end(),
                          [](const std::string& call) { return call.ends_with("200,202,204"); }),
            5);
  EXPECT_TRUE(canvas.Drew("text 星期 487,19,535,37 "));
  EXPECT_TRUE(canvas.Drew("text Kelvo软件工作室 "));
  state.PanelDateText = "2024-13-45";
  canvas.Clear();
  PaintFace(state, canvas);
  EXPECT_TRUE(canvas.Drew("text 星期 487,19,535,37 ")) << "the weekday word alone";
}

}  // namespace
}  // namespace kelvo::testing
