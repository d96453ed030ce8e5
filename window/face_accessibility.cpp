#include "window/face_accessibility.h"

#include <algorithm>
#include <array>

#include "calendar/date.h"
#include "calendar/holidays.h"
#include "calendar/tables.h"
#include "window/face_layout.h"
#include "window/hot_regions.h"
#include "window/navigation.h"

namespace kelvo {
namespace {

// After the cells: the two boxes, then the six fixed buttons in the order
// of FixedRegions, then the links.
constexpr int YearBoxOffset = 0;
constexpr int MonthBoxOffset = 1;
constexpr int FirstButtonOffset = 2;
constexpr int FirstLinkOffset = FirstButtonOffset + static_cast<int>(FixedRegions.size());

// Beside FixedRegions, in its order.
constexpr std::array<std::string_view, FixedRegions.size()> ButtonNames{
    "上一年", "下一年", "上一月", "下一月", "返回今天", "隐藏"};

constexpr std::string_view ChooseAction = "选择";
constexpr std::string_view PressAction = "按下";
constexpr std::string_view OpenAction = "打开";

int CellCount(const CalendarState& state) {
  return std::min<int>(state.CellCount, static_cast<int>(state.DayCells.size()));
}

int LinkCount(const CalendarState& state) {
  return std::min<int>(state.LinkCount, static_cast<int>(state.AnnouncementLinks.size()));
}

// The fixed regions count their borders as inside; a location does not.
constexpr Rect HalfOpen(const Rect& inclusive) {
  return {inclusive.Left, inclusive.Top, inclusive.Right + 1, inclusive.Bottom + 1};
}

// A box is the text between its two arrows.
constexpr Rect BoxBetween(const Rect& leftArrow, const Rect& rightArrow) {
  return {leftArrow.Right + 1, leftArrow.Top, rightArrow.Left, leftArrow.Bottom + 1};
}

int SelectedCellIndex(const CalendarState& state) {
  const int cells = CellCount(state);
  for (int i = 0; i < cells; ++i) {
    const DayCell& cell = state.DayCells[i];
    if (!cell.IsOtherMonth && DayNumber(cell) == state.SelectedDay) return i;
  }
  return -1;
}

FaceChild DayChild(const CalendarState& state, int index) {
  const DayCell& cell = state.DayCells[index];
  unsigned states = FaceFocusable | FaceSelectable;
  if (index == SelectedCellIndex(state)) states |= FaceSelected | FaceFocused;
  return {FaceRole::DayCell, DayCellName(cell), states, cell.CellRect, ChooseAction};
}

FaceChild BoxChild(const CalendarWnd& calendar, SelectorList list) {
  const CalendarState& state = calendar.State;
  const bool year = list == SelectorList::Year;
  const Rect area = year ? BoxBetween(FixedRegions[0].Area, FixedRegions[1].Area)
                         : BoxBetween(FixedRegions[2].Area, FixedRegions[3].Area);
  std::string name = year ? "年份 " + std::to_string(state.ShownYear) + "年"
                          : "月份 " + std::to_string(state.ShownMonth) + "月";
  unsigned states = FaceHasPopup;
  if (calendar.OpenList() == list) states |= FaceExpanded;
  return {FaceRole::DropDownButton, std::move(name), states, area, PressAction};
}

FaceChild LinkChild(const CalendarState& state, int k) {
  const AnnouncementLink& link = state.AnnouncementLinks[k];
  const Rect face{0, 0, face::FaceWidth, face::FaceHeight};
  const Rect& r = link.LinkRect;
  const bool shown = r.Left < face.Right && r.Top < face.Bottom && r.Right > 0 && r.Bottom > 0;
  return {FaceRole::Link, link.LinkTitle, FaceLinked | (shown ? 0u : FaceOffscreen), r, OpenAction};
}

}  // namespace

std::string DayCellName(const DayCell& cell) {
  const std::optional<Date> date = ParseIsoDate(cell.DateText);
  if (!date) return cell.DayText;  // a cell no month build has filled
  std::string name = std::to_string(date->Year) + "年" + std::to_string(date->Month) + "月" +
                     std::to_string(date->Day) + "日 星期";
  name.append(WeekdayNames[WeekdayFromMonday(*date)]);
  name.append(" 农历").append(cell.LunarMonthText).append(cell.LunarDayText);
  if (cell.IsFestivalOrTerm) name.append(" ").append(cell.LabelText);
  if (cell.Holiday != HolidayMark::None) {
    // Said once when the caption already is the holiday's festival.
    const bool said = cell.IsFestivalOrTerm && cell.LabelText == cell.HolidayFestival;
    if (!cell.HolidayFestival.empty() && !said) name.append(" ").append(cell.HolidayFestival);
    name.append(" ").append(HolidayMarkText(cell.Holiday));
  }
  for (const std::string& own : cell.OwnDayNames) name.append(" ").append(own);
  return name;
}

int FaceChildCount(const CalendarWnd& calendar) {
  return CellCount(calendar.State) + FirstLinkOffset + LinkCount(calendar.State);
}

std::optional<FaceChild> FaceChildOf(const CalendarWnd& calendar, int child) {
  const CalendarState& state = calendar.State;
  if (child < 1 || child > FaceChildCount(calendar)) return std::nullopt;
  const int index = child - 1;
  const int header = index - CellCount(state);
  if (header < 0) return DayChild(state, index);
  if (header == YearBoxOffset) return BoxChild(calendar, SelectorList::Year);
  if (header == MonthBoxOffset) return BoxChild(calendar, SelectorList::Month);
  if (header < FirstLinkOffset) {
    const int button = header - FirstButtonOffset;
    return FaceChild{FaceRole::PushButton, std::string(ButtonNames[button]), 0,
                     HalfOpen(FixedRegions[button].Area), PressAction};
  }
  return LinkChild(state, header - FirstLinkOffset);
}

int FaceChildAt(const CalendarWnd& calendar, int x, int y) {
  const CalendarState& state = calendar.State;
  const int cells = CellCount(state);
  if (const int cell = CellIndexAt(state, x, y); cell >= 0) return cell + 1;
  if (const std::optional<SelectorList> box = SelectorTextAt(x, y)) {
    return cells + 1 + (*box == SelectorList::Year ? YearBoxOffset : MonthBoxOffset);
  }
  if (const std::optional<HotRegion> region = FixedRegionAt(x, y)) {
    return cells + 1 + FirstButtonOffset + static_cast<int>(*region);
  }
  if (const int link = LinkIndexAt(state, x, y); link >= 0) {
    return cells + 1 + FirstLinkOffset + link;
  }
  return 0;
}

int SelectedFaceChild(const CalendarWnd& calendar) {
  return SelectedCellIndex(calendar.State) + 1;
}

bool DoFaceChildDefaultAction(CalendarWnd& calendar, int child) {
  const std::optional<FaceChild> target = FaceChildOf(calendar, child);
  if (!target) return false;
  // An open list would take the press for itself.
  const std::optional<SelectorList> wasOpen = calendar.OpenList();
  calendar.CloseList();
  if (target->Role == FaceRole::DropDownButton) {
    const SelectorList list = child - CellCount(calendar.State) - 1 == YearBoxOffset
                                  ? SelectorList::Year
                                  : SelectorList::Month;
    if (wasOpen != list) calendar.ShowList(list);
    return true;
  }
  const Rect& r = target->Location;
  const int x = (r.Left + r.Right - 1) / 2;
  const int y = (r.Top + r.Bottom - 1) / 2;
  calendar.OnMouseDown(LeftButton, 0, x, y);
  calendar.OnMouseUp(LeftButton, 0, x, y);
  return true;
}

int SelectionAnnouncement::Take(const CalendarWnd& calendar) {
  const CalendarState& state = calendar.State;
  const int child = SelectedFaceChild(calendar);
  if (child == 0) return 0;
  if (state.ShownYear == m_year && state.ShownMonth == m_month && state.SelectedDay == m_day) {
    return 0;
  }
  m_year = state.ShownYear;
  m_month = state.ShownMonth;
  m_day = state.SelectedDay;
  return child;
}

}  // namespace kelvo
