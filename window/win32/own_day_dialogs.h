#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/date.h"
#include "window/own_days_view.h"

namespace kelvo {

// The add/edit form of one day (dialog IDD_OWN_DAY). `accept` gets the
// filled form on 确定 and answers with the one line that refuses it, or
// nothing once it has kept it; a refusal shows in the dialog, which stays.
struct OwnDayDialogRequest {
  OwnDayForm Form;
  // Opened from a day cell: switching between 农历 and 公历 fills the date
  // in again from this day.
  std::optional<Date> CellDate;
  std::function<std::string(const OwnDayForm&)> Accept;
};
// True when the form was accepted, false when cancelled.
bool RunOwnDayDialog(HWND owner, HINSTANCE module, const OwnDayDialogRequest& request);

// The list of all days (dialog IDD_OWN_DAYS); its buttons call these, and
// the rows are fetched again after each.
struct OwnDaysListActions {
  std::function<std::vector<OwnDayListRow>()> Rows;
  std::function<void(HWND dialog)> Add;
  std::function<void(HWND dialog, size_t index)> Edit;
  std::function<void(HWND dialog, size_t index)> Delete;
  std::function<void(HWND dialog)> Export;
};
void RunOwnDaysListDialog(HWND owner, HINSTANCE module, const OwnDaysListActions& actions);

// The standard save dialog for an .ics file; the chosen path, or empty.
std::optional<std::wstring> AskExportPath(HWND owner);

}  // namespace kelvo
