#include "window/calendar_wnd.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/window/fake_host.h"
#include "window/face_accessibility.h"
#include "window/face_placement.h"
#include "window/face_scale.h"
#include "window/hot_regions.h"
#include "window/local_midnight.h"
#include "window/own_days_view.h"

namespace kelvo::testing {
namespace {

using Calls = std::vector<std::string>;
std::string Arrow(int source, int x) {
  return "copy arrows " + std::to_string(source) + ",0 23x26 -> " + std::to_string(x) + ",12 23x26";
}
const Calls AllArrowsNormal{Arrow(0, 12), Arrow(46, 94), Arrow(0, 124), Arrow(46, 206)};
constexpr const char* kStudioLine =
    "text Kelvo软件工作室 408,342,535,362 宋体 10 255,255,255 centre middle";

class CalendarWndTest : public ::testing::Test {
 protected:
  void StartOn(Date today) {
    host.TodayDate = today;
    wnd.CloseList();
    wnd.StartAtToday();
    host.Face.Clear();
    host.SurfaceChanges = host.Drags = 0;
    host.Events.clear();
  }
  // Shown month and selected day, as the panel shows them.
  std::string Shown() const {
    EXPECT_EQ(wnd.State.PanelDateText,
              FormatIsoDate({wnd.State.ShownYear, wnd.State.ShownMonth, wnd.State.SelectedDay}));
    return wnd.State.PanelDateText;
  }
  FakeHost host;
  CalendarWnd wnd{host};
};

// Midnight, a wake, a new zone or a set clock (which also brings today's
// month back): a face that followed today moves on with it; any other keeps
// its day, and only the today mark moves (cell -1: off the face).
TEST_F(CalendarWndTest, ANewDateMovesAFaceThatFollowedTodayAndOnlyTheMarkOfAnyOther) {
  const Date mar15{2024, 3, 15}, mar16{2024, 3, 16}, jun2{2024, 6, 2};
  // clang-format off
  // started on, months stepped on, day selected (0: as started), new today, how (0 date
  // change, 1 set clock, 2 返回今天), then shown and the today cell
  const std::tuple<Date, int, int16_t, Date, int, const char*, int> cases[] = {
      {mar15, 0, 0, mar16, 0, "2024-03-16", 19}, {{2024, 12, 31}, 0, 0, {2025, 1, 1}, 0, "2025-01-01", 2},
      {mar15, 0, 20, mar16, 0, "2024-03-20", 19}, {{2024, 3, 31}, 1, 0, {2024, 4, 1}, 0, "2024-04-30", 0},
      {mar15, 1, 0, mar16, 0, "2024-04-15", -1}, {mar15, 0, 0, jun2, 1, "2024-06-02", 6},
      {mar15, 12, 9, jun2, 1, "2024-06-09", 6}, {mar15, 13, 3, mar15, 2, "2024-03-15", 18}};
  // clang-format on
  for (const auto& [start, steps, day, today, how, shown, cell] : cases) {
    StartOn(start);
    for (int i = 0; i < steps; ++i) wnd.NextMonth();
    if (day) wnd.State.SelectedDay = day;
    host.TodayDate = today;
    if (how == 0) wnd.OnDateChange();
    if (how == 1) wnd.OnTimeChange();
    if (how == 2) wnd.OnMouseDown(LeftButton, 0, 240, 20), wnd.OnMouseUp(LeftButton, 0, 240, 20);
    EXPECT_EQ(Shown(), shown);
    const auto& c = wnd.State.DayCells;
    EXPECT_EQ(std::count_if(c.begin(), c.end(), [](auto& d) { return d.IsToday; }),
              cell >= 0 && c[cell].IsToday);
  }
}

// Counted on the real clock: a day whose clocks spring forward is shorter,
// one whose clocks go back longer; a jump over midnight changes the date.
TEST(LocalMidnight, TimeToTheNextDateAcrossClockChanges) {
  constexpr int64_t h = 3600, day0 = 20000LL * 86400;  // a UTC midnight; the zone starts at UTC
  // clang-format off
  // the clocks move at (seconds into day0) by (seconds); now; seconds to the next date
  const int64_t cases[][4] = {{48 * h, 0, 86370, 30}, {0, 0, 0, 24 * h}, {2 * h, h, 0, 23 * h},
      {3 * h, -h, 0, 25 * h}, {23 * h + 1800, h, 23 * h, 1800}, {24 * h, -h, 22 * h, 3 * h}};
  // clang-format on
  for (const auto& [change, shift, now, expected] : cases) {
    const LocalClock zone = [&](int64_t utcMs) {
      const int64_t ms = utcMs + (utcMs >= (day0 + change) * 1000 ? shift * 1000 : 0);
      return LocalReading{CivilFromDays(static_cast<int32_t>(ms / kMsPerDay)), ms % kMsPerDay};
    };
    EXPECT_EQ(MsUntilNextLocalDate((day0 + now) * 1000, zone), expected * 1000) << change;
  }
}

struct ClickCase {
  Date Today;
  int Button, X, Y;  // pressed and, unless ReleaseX is given, released there
  const char* Expected;
  int Drags = 0;
  Calls Events = {};
  std::string LastCall = "";  // when not the end of a repaint, or nothing at all
  int ReleaseX = -1, ReleaseY = -1;
};

// Edges of buttons, cells and links are pinned further down; here each place is pressed once.
TEST_F(CalendarWndTest, PressAndReleaseSelectDaysStepButtonsOpenLinksOrDragTheWindow) {
  const Date mar15{2024, 3, 15}, feb10{2024, 2, 10};
  constexpr int L = LeftButton, R = RightButton, M = MiddleButton;
  // clang-format off
  const ClickCase cases[] = {
      {mar15, L, 149, 275, "2024-03-20"}, {mar15, R, 94, 165, "2024-03-05"},
      {mar15, L, 94, 165, "2024-03-15", 0, {}, "", 149, 165},  // the 5th, then the 6th: nothing
      {{2024, 5, 10}, L, 94, 110, "2024-04-30"}, {feb10, L, 314, 330, "2024-03-02"},  // neighbours
      {feb10, L, 204, 110, "2024-03-01", 0, {}, "", 259, 330},  // 1st, then trailing 1st
      {{1950, 1, 10}, L, 314, 105, "1950-01-31"},  // January 1950 stays
      // The buttons step within January 1950 to December 2050; only the previous-year
      // button keeps its hover image after its action, whether or not it stepped.
      {mar15, L, 20, 20, "2023-03-15", 0, {}, Arrow(23, 12)},
      {{1950, 8, 1}, L, 20, 20, "1950-08-01", 0, {}, Arrow(23, 12)},
      {{1951, 1, 20}, L, 20, 20, "1950-01-20", 0, {}, Arrow(23, 12)},
      {mar15, L, 100, 20, "2025-03-15"}, {{2050, 6, 9}, L, 100, 20, "2050-06-09"},
      {{2049, 12, 5}, L, 100, 20, "2050-12-05"}, {{2049, 12, 5}, L, 210, 20, "2050-01-05"},
      {{2050, 12, 31}, L, 210, 20, "2050-12-31"}, {{1951, 1, 20}, L, 130, 20, "1950-12-20"},
      {{1950, 1, 20}, L, 130, 20, "1950-01-20"}, {mar15, L, 130, 20, "2024-02-15"},
      {{2024, 1, 31}, L, 210, 20, "2024-02-29"},  // lowered when painted
      {mar15, L, 210, 20, "2024-04-15"}, {mar15, R, 210, 20, "2024-04-15"},
      {mar15, L, 400, 35, "2024-03-15", 0, {"hide", "menu 100 显示日历"}},
      {mar15, L, 450, 220, "2024-03-15", 0, {"open http://example.test/a"}},
      {mar15, L, 450, 240, "2024-03-15"},  // a local program is never opened
      // The year and month texts drag too; a press there that moved nothing opens their list.
      {mar15, L, 36, 38, "2024-03-15", 1, {"list 1950年-2050年 at 74"}},
      {mar15, L, 148, 20, "2024-03-15", 1, {"list 1月-12月 at 2"}}, {mar15, R, 60, 20, "2024-03-15"},
      {{2050, 12, 1}, L, 205, 38, "2050-12-01", 1, {"list 1月-12月 at 11"}},
      {mar15, L, 66, 100, "2024-03-15", 1}, {mar15, L, 5, 5, "2024-03-15", 1},
      {mar15, L, 470, 260, "2024-03-15", 1}, {mar15, R, 470, 260, "2024-03-15"},
      {mar15, M, 470, 260, "2024-03-15"}};
  // clang-format on
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Button << " at " << c.X << "," << c.Y);
    StartOn(c.Today);
    wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版", "http://example.test/a"},
                                   {{410, 235, 533, 255}, "本地", "C:\\Tools\\x.exe"}};
    wnd.State.LinkCount = 2;
    wnd.OnMouseDown(c.Button, 0, c.X, c.Y);
    wnd.OnMouseUp(c.Button, 0, c.ReleaseX < 0 ? c.X : c.ReleaseX,
                  c.ReleaseX < 0 ? c.Y : c.ReleaseY);
    EXPECT_EQ(Shown(), c.Expected);
    const bool moved = FormatIsoDate(c.Today) != c.Expected;
    EXPECT_EQ(host.Face.Drew("gradient "), moved);
    const std::string last = !c.LastCall.empty() ? c.LastCall : moved ? kStudioLine : "";
    EXPECT_EQ(host.Face.Calls.empty() ? "" : host.Face.Calls.back(), last);
    EXPECT_EQ(host.SurfaceChanges == 0, last.empty());
    if (!c.LastCall.empty()) {
      EXPECT_EQ(host.SurfaceChanges, moved ? 2 : 1);  // the repaint and the image
    }
    EXPECT_EQ(host.Drags, c.Drags);
    EXPECT_EQ(host.Events, c.Events);
  }
}

TEST_F(CalendarWndTest, MovesHoverCellsAndArrowsUntilTheMouseMovesOffOrLeaves) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, 204, 165);
  EXPECT_EQ(wnd.State.HoverCell, 10);
  EXPECT_TRUE(host.Face.Drew("box 177,138-230,191 255,187,0 w3 fill 255,255,255"));
  EXPECT_EQ(Calls(host.Face.Calls.end() - 4, host.Face.Calls.end()), AllArrowsNormal);
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 205, 165);  // the same cell: no repaint
  EXPECT_EQ(host.Face.Calls, AllArrowsNormal);
  EXPECT_EQ(host.LeaveRequests, 1);
  wnd.OnMouseMove(0, 0, 470, 260);
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(host.LeaveRequests, 2);
  wnd.OnMouseMove(0, 0, 204, 165);
  host.Face.Clear();
  wnd.OnMouseLeave();
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_TRUE(host.Face.Drew("gradient "));
  // clang-format off
  const std::tuple<int, int, Calls> arrows[] = {
      {12, 12, {Arrow(23, 12)}}, {117, 38, {Arrow(69, 94)}}, {147, 12, {Arrow(23, 124)}},
      {206, 38, {Arrow(69, 206)}}, {36, 20, AllArrowsNormal}, {380, 20, AllArrowsNormal},
      {250, 20, {}}};  // 返回今天 leaves them as they are
  // clang-format on
  for (const auto& [x, y, frames] : arrows) {
    wnd.OnMouseMove(0, 0, 20, 20);
    host.Face.Clear();
    host.LeaveRequests = host.SurfaceChanges = 0;
    wnd.OnMouseMove(0, 0, x, y);
    EXPECT_EQ(host.Face.Calls, frames) << x << "," << y;
    EXPECT_EQ(host.LeaveRequests, frames.size() == 1 ? 1 : 0);  // to take the hover image back
    EXPECT_EQ(host.SurfaceChanges, frames.empty() ? 0 : 1);
  }
}

// Buttons count their borders as inside; cells and links do not count their
// right and bottom edges; the hand shows over buttons and links, not days.
TEST_F(CalendarWndTest, EachPointFindsItsButtonCellOrLinkAndItsCursor) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 500, 230}, "a", "http://a"},
                                 {{410, 220, 533, 240}, "b", "http://b"}};
  wnd.State.LinkCount = 2;
  constexpr auto no = std::nullopt;
  using enum HotRegion;
  // clang-format off
  // x, y: the button there, the cell and link index (-1: none), the hand cursor.
  const std::tuple<int, int, std::optional<HotRegion>, int, int, bool> cases[] = {
      {12, 12, PreviousYear, -1, -1, 1}, {35, 38, PreviousYear, -1, -1, 1},
      {94, 12, NextYear, -1, -1, 1}, {229, 38, NextMonth, -1, -1, 1},
      {236, 12, BackToToday, -1, -1, 1}, {400, 35, Hide, -1, -1, 1},
      {11, 20, no, -1, -1, 0}, {36, 20, no, -1, -1, 0}, {93, 20, no, -1, -1, 0},  // 36-93: year
      {20, 11, no, -1, -1, 0}, {20, 39, no, -1, -1, 0}, {374, 20, no, -1, -1, 0},
      {401, 20, no, -1, -1, 0}, {12, 83, no, 0, -1, 0}, {65, 136, no, 0, -1, 0},
      {66, 100, no, -1, -1, 0}, {67, 100, no, 1, -1, 0}, {20, 137, no, -1, -1, 0},
      {410, 210, no, -1, 0, 1}, {505, 225, no, -1, 1, 1}, {450, 235, no, -1, 1, 1},
      {533, 230, no, -1, -1, 0}, {450, 240, no, -1, -1, 0}};
  // clang-format on
  const CalendarState& state = wnd.State;
  for (const auto& [x, y, button, cell, link, hand] : cases) {
    SCOPED_TRACE(::testing::Message() << x << "," << y);
    EXPECT_EQ(FixedRegionAt(x, y), button);
    EXPECT_EQ(CellIndexAt(state, x, y), cell);
    EXPECT_EQ(LinkIndexAt(state, x, y), link);
    EXPECT_EQ(wnd.ShowsHandCursor(x, y), hand);
  }
  // Only the counted cells and links are searched, and overstated counts are safe.
  wnd.State.CellCount = 42;  // 35 held
  wnd.State.LinkCount = 9;   // 2 held
  EXPECT_EQ(CellIndexAt(state, 100, 360) + LinkIndexAt(state, 300, 300), -2);
  wnd.State.LinkCount = 1;
  EXPECT_EQ(LinkIndexAt(state, 505, 225), -1);
  wnd.State.LinkCount = 0;
  EXPECT_FALSE(ShowsHandCursor(state, 450, 215));
}

// Choosing shows that year or month; a press beside, Esc or a bad index change nothing.
TEST_F(CalendarWndTest, ListsChooseAYearOrMonthOrCloseWithoutAChange) {
  EXPECT_EQ((std::array{ListKeyAction(kKeyReturn), ListKeyAction(kKeyEscape), ListKeyAction(0)}),
            (std::array{ListKey::Choose, ListKey::Close, ListKey::Move}));
  StartOn({2024, 3, 31});
  host.DragMoves = true;
  wnd.OnMouseDown(LeftButton, 0, 60, 20);
  EXPECT_FALSE(wnd.OpenList());  // the window moved
  host.DragMoves = false;
  // clang-format off
  const std::tuple<int, int, const char*> steps[] = {  // -2: a press on the 20th instead
      {60, 0, "1950-03-31"}, {60, 100, "2050-03-31"}, {180, 1, "2050-02-28"}, {180, 11, "2050-12-28"},
      {60, 101, "2050-12-28"}, {180, -1, "2050-12-28"}, {60, -2, "2050-12-28"}};
  // clang-format on
  for (const auto& [x, index, expected] : steps) {
    wnd.OnMouseDown(LeftButton, 0, x, 20);
    wnd.OnKeyDown(kKeyPageDown, false);  // the list has the keyboard
    EXPECT_EQ(wnd.OpenList(), x == 60 ? SelectorList::Year : SelectorList::Month);
    if (index == -2) {
      wnd.OnMouseDown(LeftButton, 0, 204, 200);
      wnd.OnMouseUp(LeftButton, 0, 204, 200);
    }
    wnd.ChooseFromList(index);
    EXPECT_EQ(Shown(), expected) << x << " " << index;
    EXPECT_EQ(host.Events.back(), "close list");
  }
}

TEST_F(CalendarWndTest, KeysMoveTheSelectionAndStepWithinTheRange) {
  const Date mar15{2024, 3, 15}, first{1950, 1, 1}, last{2050, 12, 31};
  // clang-format off
  const std::tuple<Date, int, bool, Date> cases[] = {
      {{2024, 3, 1}, kKeyLeft, 0, {2024, 2, 29}}, {{2024, 3, 31}, kKeyRight, 0, {2024, 4, 1}},
      {mar15, kKeyUp, 0, {2024, 3, 8}}, {{2024, 3, 29}, kKeyDown, 1, {2024, 4, 5}},
      {first, kKeyLeft, 0, first}, {last, kKeyRight, 0, last},
      {{2050, 12, 25}, kKeyDown, 0, {2050, 12, 25}}, {mar15, 0x23, 1, mar15},  // Ctrl+End: nothing
      {mar15, kKeyPageUp, 0, {2024, 2, 15}}, {mar15, kKeyPageDown, 0, {2024, 4, 15}},
      {mar15, kKeyPageUp, 1, {2023, 3, 15}}, {mar15, kKeyPageDown, 1, {2025, 3, 15}}};
  // clang-format on
  for (const auto& [today, key, control, expected] : cases) {
    StartOn(today);
    wnd.OnKeyDown(key, control);
    EXPECT_EQ(Shown(), FormatIsoDate(expected)) << key << " from " << FormatIsoDate(today);
  }
  wnd.OnKeyDown(kKeyHome, false);  // from March 2025, where the last case left the face
  wnd.OnKeyDown(kKeyEscape, false);
  EXPECT_EQ(Shown(), "2024-03-15");
  EXPECT_EQ(host.Events, (Calls{"hide", "menu 100 显示日历"}));
}

// Down: the next month over the grid and month box, the next year over the year box.
TEST_F(CalendarWndTest, WheelNotchesStepMonthsOrYearsWithinTheRange) {
  StartOn({2024, 3, 15});
  // clang-format off
  const std::tuple<int, int, int16_t, const char*> turns[] = {
      {200, 200, -120, "2024-04-15"}, {12, 49, 120, "2024-03-15"}, {50, 20, -120, "2025-03-15"},
      {180, 20, 240, "2025-01-15"}, {396, 357, -60, "2025-01-15"}, {396, 357, -60, "2025-02-15"},
      {200, 200, -90, "2025-02-15"}, {200, 200, 60, "2025-02-15"}, {200, 200, 60, "2025-01-15"},
      {450, 200, 32767, "2025-01-15"}, {117, 38, -32768, "2050-01-15"}};  // 273 notches
  // clang-format on
  for (const auto& [x, y, delta, expected] : turns) {
    wnd.OnMouseWheel(delta, x, y);
    EXPECT_EQ(Shown(), expected) << x << "," << y << " " << delta;
  }
}

// The form keeps what it cannot show (a 2-day reminder from the file) and
// refuses in one line what cannot be a day; the menu's commands past the
// days do nothing.
TEST(OwnDayForm, RefusesWhatCannotBeKeptAndKeepsWhatItHasNoBoxFor) {
  OwnDay kept;
  kept.Id = "a1";
  kept.Month = 8;
  kept.Day = 15;
  kept.Origin = 1956;
  kept.RemindDaysBefore = {0, 2};
  kept.RemindMinute = 9 * 60;
  kept.Name = "妈妈";
  EXPECT_EQ(OwnDayFromForm(FormForDay(kept), "a1").Day, kept);
  const auto with = [](auto change) {
    OwnDayForm form = FormForDate({2021, 2, 16}, true);
    form.Name = "x";
    change(form);
    return OwnDayFromForm(form, "b2").Fault;
  };
  EXPECT_EQ(with([](OwnDayForm&) {}), "");
  EXPECT_NE(with([](OwnDayForm& f) { f.TimeText = "9:00"; }), "");
  EXPECT_NE(with([](OwnDayForm& f) { f.TimeText = "24:00"; }), "");
  EXPECT_NE(with([](OwnDayForm& f) { f.OriginText = "1799"; }), "");
  EXPECT_NE(with([](OwnDayForm& f) { f.OriginText = "20x0"; }), "");
  EXPECT_NE(with([](OwnDayForm& f) { f.Lunar = false, f.Month = 4, f.Day = 31; }), "");
  EXPECT_NE(with([](OwnDayForm& f) { f.Name = ""; }), "");
  EXPECT_EQ(with([](OwnDayForm& f) { f.TimeText = "", f.RemindOnTheDay = false; }), "");
  EXPECT_EQ(ClassifyOwnDayCommand(kEditOwnDayCommand + 2, 3).Index, 2u);
  EXPECT_EQ(ClassifyOwnDayCommand(kDeleteOwnDayCommand + 3, 3).Action, OwnDayAction::None);
  EXPECT_EQ(ClassifyOwnDayCommand(0, 3).Action, OwnDayAction::None);
}

// Face units to pixels edge by edge: at 144 DPI the face is 807 x 555 and
// two cells sharing an edge still share it; a pixel maps back to the unit
// that covers it; DPIs outside 96..480 are clamped.
TEST(FaceScale, EdgesScaleRoundedAndPixelsMapBackToTheirUnit) {
  // clang-format off
  const std::tuple<int, int, int, int, int> cases[] = {  // dpi, units, pixels, pixel, unit
      {96, 538, 538, 100, 100}, {144, 538, 807, 808, 538}, {144, 370, 555, 1, 0},
      {120, 67, 84, 83, 66}, {120, 66, 83, -1, -1}, {48, 538, 538, 5, 5}, {999, 1, 5, 9, 1}};
  // clang-format on
  for (const auto& [dpi, units, pixels, pixel, unit] : cases) {
    EXPECT_EQ(ScaleLength(units, dpi), pixels) << dpi << " " << units;
    EXPECT_EQ(FaceUnitAt(pixel, dpi), unit) << dpi << " " << pixel;
  }
  EXPECT_EQ(ScaleRect({12, 83, 66, 138}, 144), (Rect{18, 125, 99, 207}));
  EXPECT_EQ(ScaleLineWidth(1, 120), 1);
  EXPECT_EQ(ScaleLineWidth(3, 144), 5);
  // The nearest picture scale at or above the DPI's.
  EXPECT_EQ(ScaledPictureId(102, PictureScaleFor(96)), 102);
  EXPECT_EQ(ScaledPictureId(102, PictureScaleFor(120)), 112);
  EXPECT_EQ(ScaledPictureId(101, PictureScaleFor(121)), 121);
  EXPECT_EQ(ScaledPictureId(103, PictureScaleFor(480)), 133);
}

// Home is the primary work area's top-right corner; a remembered place
// comes back on its monitor, else the one it overlaps, shifted whole into
// the work area; a place on no monitor goes home.
TEST(FacePlacement, HomeOrTheRememberedPlaceWholeInsideAWorkArea) {
  const MonitorArea left{"\\\\.\\DISPLAY2", {-1024, 0, 0, 768}, {-1024, 0, 0, 738}, false};
  const MonitorArea primary{"\\\\.\\DISPLAY1", {0, 0, 1600, 900}, {60, 30, 1600, 900}, true};
  const MonitorArea tiny{"\\\\.\\DISPLAY3", {1600, 0, 2000, 300}, {1600, 0, 2000, 300}, false};
  const std::vector<MonitorArea> all{left, primary, tiny};
  const auto at = [](Rect r, const char* device) {
    return std::optional<RememberedPlace>({r, device, 96});
  };
  // clang-format off
  const std::tuple<std::vector<MonitorArea>, std::optional<RememberedPlace>, Rect> cases[] = {
      {all, std::nullopt, {1062, 30, 1600, 400}},                                // home, below a top bar
      {{left, primary}, at({-900, 10, -362, 380}, "\\\\.\\DISPLAY2"), {-900, 10, -362, 380}},
      {{primary}, at({-900, 10, -362, 380}, "\\\\.\\DISPLAY2"), {1062, 30, 1600, 400}},  // on no monitor
      {{primary}, at({1300, 800, 1838, 1170}, "\\\\.\\DISPLAY9"), {1062, 530, 1600, 900}},
      {{primary}, at({0, 0, 538, 370}, "\\\\.\\DISPLAY1"), {60, 30, 598, 400}},  // under a left bar
      {all, at({1700, 50, 2238, 420}, "\\\\.\\DISPLAY3"), {1462, 0, 2000, 370}},  // smaller: corner kept
      {{{"D", {0, 0, 1024, 768}, {0, 0, 1600, 870}, true}}, std::nullopt, {486, 0, 1024, 370}},  // stale work area
      {{{"D", {0, 0, 1024, 768}, {1100, 0, 1600, 870}, true}}, std::nullopt, {486, 0, 1024, 370}},
      {{}, std::nullopt, {0, 0, 538, 370}}};
  // clang-format on
  for (const auto& [monitors, remembered, expected] : cases) {
    EXPECT_EQ(PlaceFace(monitors, remembered, 538, 370), expected)
        << (remembered ? remembered->DeviceName : "home");
  }
}

// The stored place reads back exactly; a damaged text is no place.
TEST(FacePlacement, StoredPlaceRoundTripsAndDamagedTextIsNone) {
  const RememberedPlace place{{-900, 10, -93, 565}, "\\\\.\\DISPLAY2", 144};
  EXPECT_EQ(FacePlaceText(place), "-900 10 -93 565 144 \\\\.\\DISPLAY2");
  EXPECT_EQ(ParseFacePlace(FacePlaceText(place)), place);
  EXPECT_EQ(ParseFacePlace("0 0 538 370 20 D")->Dpi, 96);
  for (const char* bad : {"", "0 0 538 370 96", "0 0 538 370 96 ", "0 0 0 370 96 D", "a b c d e f",
                          "0 0 538 370 96 D E", "0 0 99999999 370 96 D", "\x01\x00\x00\x00"})
    EXPECT_FALSE(ParseFacePlace(bad)) << bad;
}

// What a screen reader hears of a day: the date, weekday and lunar day, a
// festival or term, the holiday with its 休/班; neighbouring months alike.
TEST_F(CalendarWndTest, DayNamesSayTheWholeDateAsAPersonReadsIt) {
  const std::tuple<Date, int, const char*> cases[] = {
      {{2024, 2, 15}, 0, "2024年1月29日 星期一 农历腊月十九"},
      {{2024, 2, 15}, 6, "2024年2月4日 星期日 农历腊月廿五 立春 春节 班"},
      {{2024, 2, 15}, 11, "2024年2月9日 星期五 农历腊月三十 除夕"},
      {{2024, 2, 15}, 12, "2024年2月10日 星期六 农历正月初一 春节 休"},
      {{2024, 2, 15}, 34, "2024年3月3日 星期日 农历正月廿三 爱耳日"},
      {{2023, 3, 1}, 22, "2023年3月21日 星期二 农历二月三十 春分"},
      {{2023, 3, 1}, 23, "2023年3月22日 星期三 农历闰二月初一"},
      {{2023, 3, 1}, 34, "2023年4月2日 星期日 农历闰二月十二"},
      {{2025, 10, 1}, 8, "2025年10月7日 星期二 农历八月十六 国庆节 休"}};
  for (const auto& [month, cell, name] : cases) {
    StartOn(month);
    EXPECT_EQ(DayCellName(wnd.State.DayCells[cell]), name);
  }
}

// Cells in grid order, the header controls, the links; each with its role,
// action and place. Every child's centre hit-tests back to it; off the
// controls the face itself answers.
TEST_F(CalendarWndTest, ScreenReaderChildrenAreTheCellsThenTheHeaderThenTheLinks) {
  StartOn({2024, 2, 15});
  wnd.State.AnnouncementLinks = {{{408, 220, 535, 240}, "公告一", "http://a/1"}};
  wnd.State.LinkCount = 1;
  ASSERT_EQ(FaceChildCount(wnd), 44);
  const Calls expected{"0 2024年1月29日 星期一 农历腊月十九 选择 12,83,66,137",
                       "1 年份 2024年 按下 36,12,94,39",
                       "1 月份 2月 按下 148,12,206,39",
                       "2 上一年 按下 12,12,36,39",
                       "2 下一年 按下 94,12,118,39",
                       "2 上一月 按下 124,12,148,39",
                       "2 下一月 按下 206,12,230,39",
                       "2 返回今天 按下 236,12,319,39",
                       "2 隐藏 按下 375,10,401,36",
                       "3 公告一 打开 408,220,535,240"};
  Calls seen;
  for (int child : {1, 36, 37, 38, 39, 40, 41, 42, 43, 44}) {
    const FaceChild c = *FaceChildOf(wnd, child);
    std::ostringstream line;
    line << int(c.Role) << ' ' << c.Name << ' ' << c.DefaultAction << ' ' << c.Location;
    seen.push_back(line.str());
  }
  EXPECT_EQ(seen, expected);
  for (int child = 1; child <= 44; ++child) {
    const Rect r = FaceChildOf(wnd, child)->Location;
    EXPECT_EQ(FaceChildAt(wnd, (r.Left + r.Right - 1) / 2, (r.Top + r.Bottom - 1) / 2), child);
  }
  EXPECT_EQ(FaceChildAt(wnd, 35, 38), 38);  // the buttons' borders are theirs
  EXPECT_EQ(FaceChildAt(wnd, 36, 38), 36);
  EXPECT_EQ(FaceChildAt(wnd, 0, 0), 0);
  EXPECT_EQ(FaceChildAt(wnd, 450, 300), 0);
}

// The selected day is focused and selected; each change of the selected
// date is announced once, whatever made it, and a repaint alone is not.
TEST_F(CalendarWndTest, TheSelectedDayIsFocusedAndAnnouncedOncePerChange) {
  StartOn({2024, 2, 15});
  SelectionAnnouncement announcement;
  EXPECT_EQ(announcement.Take(wnd), 18);
  EXPECT_EQ(FaceChildOf(wnd, 18)->States,
            FaceSelected | FaceFocused | FaceFocusable | FaceSelectable);
  EXPECT_EQ(FaceChildOf(wnd, 19)->States, FaceFocusable | FaceSelectable);
  const std::pair<std::function<void()>, int> changes[] = {
      {[&] { wnd.OnMouseMove(0, 0, 100, 100); }, 0},
      {[&] { wnd.MoveSelection(1); }, 19},
      {[&] { wnd.NextMonth(); }, 20},
      {[&] { wnd.OnDateChange(); }, 0},
      {[&] { DoFaceChildDefaultAction(wnd, 1); }, 29},
      {[&] { wnd.BackToToday(); }, 18}};
  for (const auto& [change, child] : changes) {
    change();
    EXPECT_EQ(announcement.Take(wnd), child) << wnd.State.PanelDateText;
  }
}

// Do-it: a day is clicked, a button pressed, a link opened, a box drops its
// list; a child that does not exist is refused and nothing changes.
TEST_F(CalendarWndTest, DefaultActionsGoThroughTheMouseHandlers) {
  StartOn({2024, 2, 15});
  wnd.State.AnnouncementLinks = {{{408, 220, 535, 240}, "公告一", "http://a/1"}};
  wnd.State.LinkCount = 1;
  for (int child : {44, 36, 43, 35, 41}) EXPECT_TRUE(DoFaceChildDefaultAction(wnd, child));
  EXPECT_EQ(host.Events, (Calls{"open http://a/1", "list 1950年-2050年 at 74", "close list", "hide",
                                "menu 100 显示日历"}));
  EXPECT_EQ(Shown(), "2024-04-03");
  wnd.State.CellCount = 42;  // half-built: more cells counted than held
  for (int child : {0, -1, 45, 51, 1 << 30}) {
    EXPECT_FALSE(FaceChildOf(wnd, child));
    EXPECT_FALSE(DoFaceChildDefaultAction(wnd, child));
  }
  EXPECT_EQ(Shown(), "2024-04-03");
  EXPECT_EQ(DayCellName(DayCell{}), "");
}

}  // namespace
}  // namespace kelvo::testing
