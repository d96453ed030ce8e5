#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/day_cell.h"
#include "calendar/rect.h"
#include "window/calendar_wnd.h"

// What a screen reader finds on the face, decided without the platform: the
// face is one picture, so its parts are simple children, numbered from 1 in
// reading order: every day cell in grid order, then the year box, the month
// box, the four arrows, "返回今天", the hide button and each announcement
// link. Child 0 is the face itself. Positions are face units.
namespace kelvo {

enum class FaceRole { DayCell, DropDownButton, PushButton, Link };

// State flags of a child.
enum FaceState : unsigned {
  FaceSelected = 1u << 0,
  FaceFocused = 1u << 1,
  FaceFocusable = 1u << 2,
  FaceSelectable = 1u << 3,
  FaceLinked = 1u << 4,
  FaceHasPopup = 1u << 5,
  FaceExpanded = 1u << 6,
  FaceOffscreen = 1u << 7,  // an announcement link below the face
};

struct FaceChild {
  FaceRole Role;
  std::string Name;
  unsigned States;
  Rect Location;  // half-open
  std::string_view DefaultAction;
};

// The whole date as a person reads it, e.g.
// "2025年10月7日 星期二 农历八月十六 国庆节 休": the date, the weekday, the
// lunar month and day, the caption when it is a festival or a term, the
// holiday the 休/班 mark belongs to with the mark, and the user's own days.
std::string DayCellName(const DayCell& cell);

int FaceChildCount(const CalendarWnd& calendar);
// Nothing for a child that does not exist (0 included).
std::optional<FaceChild> FaceChildOf(const CalendarWnd& calendar, int child);
// The child under the face point (x, y), found through the mouse's own hot
// regions; 0 when the point is on the face but on no child.
int FaceChildAt(const CalendarWnd& calendar, int x, int y);
// The selected day's cell; 0 before a month is built.
int SelectedFaceChild(const CalendarWnd& calendar);
// A screen reader's "do it": a day is clicked, a button pressed, a link
// opened, through the mouse handlers; a year or month box drops its list
// down (or takes it up again). False for a child that does not exist.
bool DoFaceChildDefaultAction(CalendarWnd& calendar, int child);

// Tells which selection changes a screen reader must hear of: after every
// repaint, the child to announce as focused and selected, or 0 when the
// selected date is the one last announced (a hover, an arrow image).
class SelectionAnnouncement {
 public:
  int Take(const CalendarWnd& calendar);

 private:
  int16_t m_year = 0, m_month = 0, m_day = 0;
};

}  // namespace kelvo
