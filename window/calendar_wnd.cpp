#include "window/calendar_wnd.h"

#include <algorithm>
#include <utility>

#include "calendar/date.h"
#include "calendar/month_grid.h"
#include "net/answer_rules.h"
#include "window/face_layout.h"
#include "window/face_painter.h"
#include "window/hot_regions.h"

namespace kelvo {
namespace {

constexpr int ShowHideMenuItem = 100;

// One arrow frame of the strip copied onto its button at its own size.
void CopyArrowFrame(Canvas& canvas, int sourceX, int buttonX) {
  canvas.StretchCopy(PictureId::ArrowStrip, sourceX, 0, face::ArrowFrameWidth,
                     face::ArrowStripHeight, buttonX, face::ArrowTop, face::ArrowFrameWidth,
                     face::ArrowStripHeight);
}

}  // namespace

void CalendarWnd::StartAtToday() {
  const Date today = m_host.Today();
  State.ShownYear = today.Year;
  State.ShownMonth = today.Month;
  State.SelectedDay = today.Day;
  State.HoverCell = -1;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::BuildMonth(int16_t year, int16_t month) {
  MonthGrid grid = BuildMonthGrid(year, month, m_host.Today(), State.Holidays);
  State.DayCells = std::move(grid.DayCells);
  State.CellCount = grid.CellCount;
  State.DaysInMonth = grid.DaysInMonth;
  MarkOwnDays(State.OwnDays, State.DayCells);
  PaintCalendar();
}

void CalendarWnd::SetHolidays(HolidaySchedule holidays) {
  State.Holidays = std::move(holidays);
  const auto changed =
      std::any_of(State.DayCells.begin(), State.DayCells.end(), [&](const DayCell& cell) {
        const std::optional<Date> date = ParseIsoDate(cell.DateText);
        const Holiday now = date ? State.Holidays.Of(*date) : Holiday{};
        return now.Mark != cell.Holiday || now.Festival != cell.HolidayFestival;
      });
  if (changed) BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::SetOwnDays(std::vector<OwnDay> days) {
  State.OwnDays = std::move(days);
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::ShowDate(Date date) {
  if (date < Date{FirstShownYear, 1, 1} || date > Date{LastShownYear, 12, 31}) return;
  State.ShownYear = date.Year;
  State.ShownMonth = date.Month;
  State.SelectedDay = date.Day;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::PaintCalendar() {
  PaintFace(State, m_host.Surface(), Palette);
  m_host.SurfaceChanged();
}

void CalendarWnd::OnMouseDown(int button, int /*shift*/, int x, int y) {
  // A press beside an open list only closes it, like a click outside any
  // drop-down list.
  if (m_openList) {
    CloseList();
    State.PressedDay = -1;
    m_ignoreRelease = true;
    return;
  }
  const int cell = CellIndexAt(State, x, y);
  State.PressedDay = cell >= 0 ? DayNumber(State.DayCells[cell]) : -1;
  // Empty space acts as the caption of this borderless window; the year and
  // month texts too, and a press there that moved nothing opens their list.
  if (State.PressedDay == -1 && button == LeftButton && !FixedRegionAt(x, y) &&
      LinkIndexAt(State, x, y) < 0) {
    const bool moved = m_host.BeginWindowDrag();
    const std::optional<SelectorList> list = SelectorTextAt(x, y);
    if (!moved && list) ShowList(*list);
  }
}

void CalendarWnd::OnMouseMove(int /*button*/, int /*shift*/, int x, int y) {
  const int cell = CellIndexAt(State, x, y);
  if (cell != State.HoverCell) {
    State.HoverCell = cell;
    m_host.TrackMouseLeave();
    PaintCalendar();
  }

  Canvas& canvas = m_host.Surface();
  // Outside the four arrows (the hide button included) every arrow shows its
  // normal frame; over "返回今天" nothing changes.
  const std::optional<HotRegion> region = FixedRegionAt(x, y);
  if (region == HotRegion::BackToToday) return;
  switch (region.value_or(HotRegion::Hide)) {
    case HotRegion::PreviousYear:
      CopyArrowFrame(canvas, face::LeftArrowHoverX, face::PreviousYearArrowX);
      break;
    case HotRegion::NextYear:
      CopyArrowFrame(canvas, face::RightArrowHoverX, face::NextYearArrowX);
      break;
    case HotRegion::PreviousMonth:
      CopyArrowFrame(canvas, face::LeftArrowHoverX, face::PreviousMonthArrowX);
      break;
    case HotRegion::NextMonth:
      CopyArrowFrame(canvas, face::RightArrowHoverX, face::NextMonthArrowX);
      break;
    default:
      CopyArrowFrame(canvas, face::LeftArrowNormalX, face::PreviousYearArrowX);
      CopyArrowFrame(canvas, face::RightArrowNormalX, face::NextYearArrowX);
      CopyArrowFrame(canvas, face::LeftArrowNormalX, face::PreviousMonthArrowX);
      CopyArrowFrame(canvas, face::RightArrowNormalX, face::NextMonthArrowX);
      m_host.SurfaceChanged();
      return;
  }
  // Over an arrow: the hover image must be taken back when the mouse leaves.
  m_host.TrackMouseLeave();
  m_host.SurfaceChanged();
}

void CalendarWnd::OnMouseUp(int /*button*/, int /*shift*/, int x, int y) {
  if (std::exchange(m_ignoreRelease, false)) return;
  const int cell = CellIndexAt(State, x, y);
  const int clickedDay = cell >= 0 ? DayNumber(State.DayCells[cell]) : -1;

  // Only web addresses reach the shell, whatever filled the list: a local
  // program or a share path would be started.
  const int link = LinkIndexAt(State, x, y);
  if (link >= 0 && IsWebAddress(State.AnnouncementLinks[link].LinkUrl)) {
    m_host.OpenUrl(State.AnnouncementLinks[link].LinkUrl);
  }

  // Press and release on cells with the same day number select that day; a
  // cell of a neighbouring month moves the face to that month.
  if (clickedDay == State.PressedDay && clickedDay > 0) {
    State.SelectedDay = static_cast<int16_t>(clickedDay);
    const int lead = WeekdayFromMonday({State.ShownYear, State.ShownMonth, 1});
    const int days = DaysInGregorianMonth(State.ShownYear, State.ShownMonth);
    if (cell < lead) {
      LastMonth();
    } else if (cell >= lead + days) {
      NextMonth();
    }
    PaintCalendar();
  }

  const std::optional<HotRegion> region = FixedRegionAt(x, y);
  if (!region) return;
  switch (*region) {
    case HotRegion::PreviousYear:
      LastYear();
      // The mouse is still on the button, so it keeps its hover image.
      CopyArrowFrame(m_host.Surface(), face::LeftArrowHoverX, face::PreviousYearArrowX);
      m_host.SurfaceChanged();
      break;
    case HotRegion::NextYear:
      NextYear();
      break;
    case HotRegion::PreviousMonth:
      LastMonth();
      break;
    case HotRegion::NextMonth:
      NextMonth();
      break;
    case HotRegion::BackToToday:
      BackToToday();
      break;
    case HotRegion::Hide:
      HideLikeTheHideButton();
      break;
  }
}

void CalendarWnd::OnMouseLeave() {
  State.HoverCell = -1;
  PaintCalendar();
}

void CalendarWnd::OnTimeChange() {
  if (FollowsToday()) {
    BackToToday();
    return;
  }
  const Date today = m_host.Today();
  State.ShownYear = today.Year;
  State.ShownMonth = today.Month;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::OnDateChange() {
  if (FollowsToday()) {
    BackToToday();
    return;
  }
  // The same month again: the build marks the new today if it is on the face.
  BuildMonth(State.ShownYear, State.ShownMonth);
}

bool CalendarWnd::FollowsToday() const {
  // The cells carry the today of the last build.
  return std::any_of(State.DayCells.begin(), State.DayCells.end(), [this](const DayCell& cell) {
    return cell.IsToday && !cell.IsOtherMonth && DayNumber(cell) == State.SelectedDay;
  });
}

void CalendarWnd::LastYear() {
  if (State.ShownYear - 1 < FirstShownYear) return;
  --State.ShownYear;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::NextYear() {
  if (State.ShownYear + 1 > LastShownYear) return;
  ++State.ShownYear;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::LastMonth() {
  if (State.ShownMonth > 1) {
    --State.ShownMonth;
  } else if (State.ShownYear - 1 >= FirstShownYear) {
    State.ShownMonth = 12;
    --State.ShownYear;
  } else {
    return;
  }
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::NextMonth() {
  if (State.ShownMonth < 12) {
    ++State.ShownMonth;
  } else if (State.ShownYear + 1 <= LastShownYear) {
    State.ShownMonth = 1;
    ++State.ShownYear;
  } else {
    return;
  }
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::BackToToday() {
  const Date today = m_host.Today();
  State.ShownYear = today.Year;
  State.ShownMonth = today.Month;
  State.SelectedDay = today.Day;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

bool CalendarWnd::ShowsHandCursor(int x, int y) const {
  return kelvo::ShowsHandCursor(State, x, y);
}

void CalendarWnd::HideLikeTheHideButton() {
  m_host.HideWindow();
  m_host.SetMenuItemText(ShowHideMenuItem, "显示日历");
}

void CalendarWnd::OnKeyDown(int key, bool control) {
  if (m_openList) return;  // the list has the keyboard
  switch (FaceKeyAction(key, control)) {
    case FaceKey::PreviousDay:
      return MoveSelection(-1);
    case FaceKey::NextDay:
      return MoveSelection(1);
    case FaceKey::PreviousWeek:
      return MoveSelection(-7);
    case FaceKey::NextWeek:
      return MoveSelection(7);
    case FaceKey::PreviousMonth:
      return LastMonth();
    case FaceKey::NextMonth:
      return NextMonth();
    case FaceKey::PreviousYear:
      return LastYear();
    case FaceKey::NextYear:
      return NextYear();
    case FaceKey::Today:
      return BackToToday();
    case FaceKey::Hide:
      return HideLikeTheHideButton();
    case FaceKey::None:
      return;
  }
}

void CalendarWnd::OnMouseWheel(int16_t delta, int x, int y) {
  if (m_openList) return;  // the list scrolls itself
  const WheelTarget target = WheelTargetAt(x, y);
  for (int notches = m_wheel.Take(target, delta); notches != 0; notches -= notches > 0 ? 1 : -1) {
    if (target == WheelTarget::Year) {
      notches > 0 ? NextYear() : LastYear();
    } else if (target == WheelTarget::Month) {
      notches > 0 ? NextMonth() : LastMonth();
    }
  }
}

void CalendarWnd::MoveSelection(int days) {
  const int16_t day =
      std::min(State.SelectedDay, DaysInGregorianMonth(State.ShownYear, State.ShownMonth));
  const Date to = AddDays({State.ShownYear, State.ShownMonth, day}, days);
  if (to < Date{FirstShownYear, 1, 1} || to > Date{LastShownYear, 12, 31}) return;
  State.SelectedDay = to.Day;
  if (to.Year == State.ShownYear && to.Month == State.ShownMonth) return PaintCalendar();
  State.ShownYear = to.Year;
  State.ShownMonth = to.Month;
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::ShowList(SelectorList list) {
  m_openList = list;
  m_host.ShowList(list, ListItems(list), ListIndexOf(list, State.ShownYear, State.ShownMonth));
}

void CalendarWnd::ChooseFromList(int index) {
  const std::optional<SelectorList> list = m_openList;
  if (!list) return;
  CloseList();
  if (index < 0 || index >= static_cast<int>(ListItems(*list).size())) return;
  if (*list == SelectorList::Year) {
    State.ShownYear = static_cast<int16_t>(FirstShownYear + index);
  } else {
    State.ShownMonth = static_cast<int16_t>(index + 1);
  }
  BuildMonth(State.ShownYear, State.ShownMonth);
}

void CalendarWnd::CloseList() {
  if (!m_openList) return;
  m_openList.reset();
  m_host.CloseList();
}

}  // namespace kelvo
