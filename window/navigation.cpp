#include "window/navigation.h"

namespace kelvo {
namespace {

constexpr Rect YearText{36, 12, 93, 38};  // inclusive, like the buttons beside them
constexpr Rect MonthText{148, 12, 205, 38};
constexpr Rect YearBox{12, 12, 117, 38};
constexpr Rect MonthBox{124, 12, 229, 38};
constexpr Rect Grid{12, 49, 396, 357};  // the weekday row and the day cells

constexpr int ItemHeight = 16;
constexpr int YearRows = 20;
constexpr int YearColumns = (LastShownYear - FirstShownYear) / YearRows + 1;
constexpr int YearColumnWidth = 50;
constexpr int ListTop = 39;  // right under the header boxes

}  // namespace

std::optional<SelectorList> SelectorTextAt(int x, int y) {
  if (YearText.ContainsInclusive(x, y)) return SelectorList::Year;
  if (MonthText.ContainsInclusive(x, y)) return SelectorList::Month;
  return std::nullopt;
}

ListLayout LayoutOf(SelectorList list) {
  if (list == SelectorList::Year) {
    return {{YearBox.Left, ListTop, YearBox.Left + YearColumns * YearColumnWidth + 2,
             ListTop + YearRows * ItemHeight + 2},
            YearRows,
            ItemHeight,
            YearColumnWidth};
  }
  const int width = MonthBox.Right - MonthBox.Left + 1;
  return {{MonthBox.Left, ListTop, MonthBox.Left + width, ListTop + 12 * ItemHeight + 2},
          12,
          ItemHeight,
          width - 2};
}

std::vector<std::string> ListItems(SelectorList list) {
  std::vector<std::string> items;
  if (list == SelectorList::Year) {
    for (int year = FirstShownYear; year <= LastShownYear; ++year) {
      items.push_back(std::to_string(year) + "年");
    }
  } else {
    for (int month = 1; month <= 12; ++month) items.push_back(std::to_string(month) + "月");
  }
  return items;
}

int ListIndexOf(SelectorList list, int16_t shownYear, int16_t shownMonth) {
  if (list == SelectorList::Month) return shownMonth >= 1 && shownMonth <= 12 ? shownMonth - 1 : -1;
  if (shownYear < FirstShownYear || shownYear > LastShownYear) return -1;
  return shownYear - FirstShownYear;
}

ListKey ListKeyAction(int key) {
  if (key == kKeyReturn) return ListKey::Choose;
  if (key == kKeyEscape) return ListKey::Close;
  return ListKey::Move;
}

FaceKey FaceKeyAction(int key, bool control) {
  switch (key) {
    case kKeyLeft:
      return FaceKey::PreviousDay;
    case kKeyRight:
      return FaceKey::NextDay;
    case kKeyUp:
      return FaceKey::PreviousWeek;
    case kKeyDown:
      return FaceKey::NextWeek;
    case kKeyPageUp:
      return control ? FaceKey::PreviousYear : FaceKey::PreviousMonth;
    case kKeyPageDown:
      return control ? FaceKey::NextYear : FaceKey::NextMonth;
    case kKeyHome:
      return FaceKey::Today;
    case kKeyEscape:
      return FaceKey::Hide;
    default:
      return FaceKey::None;
  }
}

WheelTarget WheelTargetAt(int x, int y) {
  if (YearBox.ContainsInclusive(x, y)) return WheelTarget::Year;
  if (MonthBox.ContainsInclusive(x, y) || Grid.ContainsInclusive(x, y)) return WheelTarget::Month;
  return WheelTarget::None;
}

int WheelNotches::Take(WheelTarget target, int16_t delta) {
  if (target != m_target || (m_rest < 0) != (delta < 0)) m_rest = 0;
  m_target = target;
  m_rest += delta;
  const int notches = m_rest / kWheelDelta;
  m_rest -= notches * kWheelDelta;
  // The platform counts a turn away from the user as positive.
  return -notches;
}

}  // namespace kelvo
