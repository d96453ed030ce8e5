#include "window/face_painter.h"

#include <gtest/gtest.h>

#include "tests/window/fake_host.h"
#include "window/calendar_wnd.h"

namespace kelvo::testing {
namespace {

using Calls = std::vector<std::string>;

class FacePainterTest : public ::testing::Test {
 protected:
  // The face of 2024-`month` with `selected` chosen and `hover` under the mouse.
  const Calls& Show(int16_t month, int16_t selected, int hover = -1) {
    wnd.State.ShownYear = 2024;
    wnd.State.ShownMonth = month;
    wnd.State.SelectedDay = selected;
    wnd.State.HoverCell = hover;
    host.Face.Clear();
    wnd.BuildMonth(2024, month);
    return host.Face.Calls;
  }
  FakeHost host;  // today is 2024-03-15
  CalendarWnd wnd{host};
};

// Every call of two whole faces: a five-row month with today selected and
// hovered and links in the panel (more counted than held, one below the
// face), and a six-row month whose selected 31st is lowered, with a
// neighbour-month cell hovered. The tests below name what matters most.
TEST_F(FacePainterTest, WholeFacesMatchTheirRecordedDigests) {
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版发布", "http://a/1"},
                                 {{410, 232, 533, 252}, "使用说明", "http://a/2"},
                                 {{410, 370, 538, 390}, "第三", "http://a/3"}};
  wnd.State.LinkCount = 5;
  for (const auto& [month, selected, hover, expected] :
       {std::tuple{3, 15, 18, 1098443075930139897ull},
        std::tuple{9, 31, 0, 4050666374851887495ull}}) {
    uint64_t digest = 14695981039346656037u;
    for (const std::string& call : Show(month, selected, hover)) {
      for (const char c : call + '\n') digest = (digest ^ uint8_t(c)) * 1099511628211u;
    }
    EXPECT_EQ(digest, expected) << ::testing::PrintToString(host.Face.Calls);
  }
}

// Outlines come before today's fill, so a selected or hovered today shows
// only the fill; the selection needs a day of the shown month, the hover not.
TEST_F(FacePainterTest, CellsShowSelectionHoverAndTodayInThatOrder) {
  // clang-format off
  // The month of 2024, selected day, hovered cell; a cell and what is drawn in it.
  const std::tuple<int16_t, int16_t, int, int, Calls> cases[] = {
      {3, 15, 18, 18, {"box 232,193-285,246 255,187,0 w3 fill 255,255,255",
                       "box 232,193-285,246 255,187,0 w3 fill 255,255,255",
                       "box 232,193-285,246 255,187,0 w3 fill 255,187,0",
                       "text 15 232,203,285,246 Arial 13 bold 255,255,255 centre",
                       "text 消权日 232,225,285,246 宋体 9 255,255,255 centre ellipsis"}},
      {4, 31, -1, 29, {"box 67,303-120,356 255,187,0 w3 fill 255,255,255",  // 31st: the 30th
                       "text 30 67,313,120,356 Arial 13 bold 0,0,0 centre",
                       "text 廿二 67,335,120,356 宋体 9 153,153,153 centre ellipsis"}},
      {2, 1, 34, 34, {"box 342,303-395,356 255,187,0 w3 fill 255,255,255",  // a March festival
                      "text 3 342,313,395,356 Arial 13 bold 191,191,191 centre",
                      "text 爱耳日 342,335,395,356 宋体 9 191,191,191 centre ellipsis"}},
      {2, 1, -1, 32, {"text 1 232,313,285,356 Arial 13 bold 191,191,191 centre",  // March 1st
                      "text 廿一 232,335,285,356 宋体 9 191,191,191 centre ellipsis"}}};
  // clang-format on
  for (const auto& [month, selected, hover, cell, expected] : cases) {
    Show(month, selected, hover);
    EXPECT_EQ(host.Face.Within(wnd.State.DayCells[cell].CellRect), expected) << month;
  }
  EXPECT_EQ(Show(1, 15).front(), "box 0,0-537,369 87,171,255 w2 fill 255,255,255");  // clears
  // Before the lunar new year the stem-branch year is the old one, the zodiac the shown year's.
  EXPECT_TRUE(host.Face.Drew("text 癸卯年 【龙年】 408,152,535,172 宋体 10 255,255,255 centre"));
  EXPECT_TRUE(host.Face.Drew("text 腊月初五 ") && host.Face.Drew("text 星期一 "));
}

// A clock past 9999 builds no cells; the panel's date may then be unreadable.
TEST_F(FacePainterTest, NothingBuiltOrAnUnreadableDateStillPaintsTheFrame) {
  for (const char* date : {"", "2024-13-45"}) {
    CalendarState state;
    state.PanelDateText = date;
    RecordingCanvas canvas;
    PaintFace(state, canvas);
    EXPECT_EQ(canvas.Within({12, 82, 397, 370}).size(), 5u);  // five grid rules, no cells
    EXPECT_TRUE(canvas.Drew("text 星期 487,19,535,37 ")) << "the weekday word alone";
    EXPECT_TRUE(canvas.Drew("text Kelvo软件工作室 "));
  }
}

}  // namespace
}  // namespace kelvo::testing
