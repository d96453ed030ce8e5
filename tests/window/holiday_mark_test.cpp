// The 休/班 mark in the day cells and the holiday line of the date panel.
#include <gtest/gtest.h>

#include "tests/window/fake_host.h"
#include "window/calendar_wnd.h"

namespace kelvo::testing {
namespace {

constexpr Color White{255, 255, 255};
constexpr unsigned Centred = TextCenter | TextVCenter;

// A face showing the month of `shown` with its day selected.
struct Face {
  FakeHost host;
  CalendarWnd wnd{host};
  Face(Date shown, Date today) {
    host.TodayDate = today;
    wnd.State.SelectedDay = shown.Day;
    wnd.BuildMonth(shown.Year, shown.Month);
  }
};

struct MarkCase {
  Date Shown, Today;
  int Cell;
  const char* Mark;
  Rect Area;  // the 14 × 14 box at (right - 15, top + 2)
  Color Colour;
};

TEST(HolidayMark, IsDrawnLastInTheCellsTopRightCornerInItsColour) {
  const MarkCase cases[] = {
      {{2025, 10, 1}, {2024, 3, 15}, 2, "休", {161, 85, 175, 99}, {224, 45, 45}},  // 5 rows
      {{2025, 10, 1}, {2024, 3, 15}, 12, "班", {326, 140, 340, 154}, {102, 102, 102}},
      {{2025, 1, 1}, {2024, 3, 15}, 34, "休", {381, 305, 395, 319}, {191, 191, 191}},  // 02-02
      {{2021, 5, 1}, {2021, 5, 3}, 7, "休", {51, 131, 65, 145}, White},  // today, 6 rows
  };
  for (const MarkCase& c : cases) {
    const Face face(c.Shown, c.Today);
    const std::string& label = face.wnd.State.DayCells[c.Cell].LabelText;
    const int mark = face.host.Face.IndexOfText(c.Mark, face.host.Face.IndexOfText(label));
    ASSERT_NE(mark, -1) << c.Cell;
    EXPECT_EQ(std::get<TextCall>(face.host.Face.Calls[mark]),
              (TextCall{c.Mark, c.Area, "宋体", 8, false, false, c.Colour, Centred}));
    // Right after the cell's label, so after today's fill and the day number too.
    EXPECT_EQ(std::get<TextCall>(face.host.Face.Calls[mark - 1]).Text, label);
  }
}

TEST(HolidayMark, PanelAddsTheFestivalLineOnlyForAMarkedSelectedDay) {
  const std::pair<Date, const char*> cases[] = {
      {{2025, 10, 1}, "国庆节 · 休"},
      {{2024, 2, 4}, "春节 · 班"},
      {{2015, 9, 3}, "中国人民抗日… · 休"},  // the one name too long for the panel
      {{2025, 10, 9}, nullptr},
  };
  for (const auto& [date, line] : cases) {
    const Face face(date, {2024, 3, 15});
    const std::vector<CanvasCall>& calls = face.host.Face.Calls;
    const int yearLine = face.host.Face.IndexOfText(face.wnd.State.PanelYearText);
    ASSERT_NE(yearLine, -1);
    if (line) {
      EXPECT_EQ(std::get<TextCall>(calls[yearLine + 1]),
                (TextCall{line, {408, 174, 535, 194}, "宋体", 9, false, false, White, Centred}));
    }
    EXPECT_TRUE(std::holds_alternative<BoxCall>(calls[yearLine + (line ? 2 : 1)])) << "separator";
  }
}

}  // namespace
}  // namespace kelvo::testing
