#include "window/win32/own_day_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "calendar/tables.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/window_dpi.h"
#include "resources/own_day_dialog_ids.h"

namespace kelvo {
namespace {

constexpr int kNameLimit = 64;  // UTF-16 units: 32 characters even outside the BMP

struct ReminderBox {
  int Control;
  bool OwnDayForm::*Field;
};
constexpr ReminderBox kReminderBoxes[] = {{IDC_OWN_REMIND0, &OwnDayForm::RemindOnTheDay},
                                          {IDC_OWN_REMIND1, &OwnDayForm::RemindOneDay},
                                          {IDC_OWN_REMIND3, &OwnDayForm::RemindThreeDays},
                                          {IDC_OWN_REMIND7, &OwnDayForm::RemindSevenDays}};

std::string DialogText(HWND dialog, int control) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, control, text, static_cast<int>(std::size(text)));
  return FromWide(text);
}

void SetDialogText(HWND dialog, int control, const std::string& text) {
  SetDlgItemTextW(dialog, control, ToWide(text).c_str());
}

void Check(HWND dialog, int control, bool on) {
  CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int control) {
  return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

void FillList(HWND dialog, int control, const std::vector<std::string>& items, int selected) {
  HWND box = GetDlgItem(dialog, control);
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    const std::wstring text = ToWide(item);
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  const int last = static_cast<int>(items.size()) - 1;
  SendMessageW(box, CB_SETCURSEL, std::clamp(selected, 0, last), 0);
}

// The month and day lists in the calendar's own names: 正月 .. 腊月 and
// 初一 .. 三十, or 1月 .. 12月 and 1日 .. 31日.
void ShowDate(HWND dialog, bool lunar, int month, bool leap, int day) {
  std::vector<std::string> months, days;
  for (int m = 1; m <= 12; ++m)
    months.push_back(lunar ? std::string(LunarMonthNames[m - 1]) + "月" : std::to_string(m) + "月");
  for (int d = 1; d <= (lunar ? 30 : 31); ++d)
    days.push_back(lunar ? std::string(LunarDayNames[d - 1]) : std::to_string(d) + "日");
  FillList(dialog, IDC_OWN_MONTH, months, month - 1);
  FillList(dialog, IDC_OWN_DAY, days, day - 1);
  Check(dialog, IDC_OWN_LEAP, lunar && leap);
  EnableWindow(GetDlgItem(dialog, IDC_OWN_LEAP), lunar);
}

int Selected(HWND dialog, int control) {
  return static_cast<int>(SendDlgItemMessageW(dialog, control, CB_GETCURSEL, 0, 0));
}

void ShowForm(HWND dialog, const OwnDayForm& form) {
  SendDlgItemMessageW(dialog, IDC_OWN_NAME, EM_LIMITTEXT, kNameLimit, 0);
  SetDialogText(dialog, IDC_OWN_NAME, form.Name);
  CheckRadioButton(dialog, IDC_OWN_LUNAR, IDC_OWN_GREGORIAN,
                   form.Lunar ? IDC_OWN_LUNAR : IDC_OWN_GREGORIAN);
  ShowDate(dialog, form.Lunar, form.Month, form.Leap, form.Day);
  SetDialogText(dialog, IDC_OWN_ORIGIN, form.OriginText);
  CheckRadioButton(dialog, IDC_OWN_BIRTHDAY, IDC_OWN_ANNIVERSARY,
                   form.Birthday ? IDC_OWN_BIRTHDAY : IDC_OWN_ANNIVERSARY);
  for (const ReminderBox& box : kReminderBoxes) Check(dialog, box.Control, form.*box.Field);
  SetDialogText(dialog, IDC_OWN_TIME, form.TimeText);
}

OwnDayForm ReadForm(HWND dialog, const OwnDayForm& shown) {
  OwnDayForm form;
  form.OtherRemindDays = shown.OtherRemindDays;
  form.Name = DialogText(dialog, IDC_OWN_NAME);
  form.Lunar = Checked(dialog, IDC_OWN_LUNAR);
  form.Month = Selected(dialog, IDC_OWN_MONTH) + 1;
  form.Leap = form.Lunar && Checked(dialog, IDC_OWN_LEAP);
  form.Day = Selected(dialog, IDC_OWN_DAY) + 1;
  form.OriginText = DialogText(dialog, IDC_OWN_ORIGIN);
  form.Birthday = Checked(dialog, IDC_OWN_BIRTHDAY);
  for (const ReminderBox& box : kReminderBoxes) form.*box.Field = Checked(dialog, box.Control);
  form.TimeText = DialogText(dialog, IDC_OWN_TIME);
  return form;
}

INT_PTR CALLBACK OwnDayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    ShowForm(dialog, reinterpret_cast<const OwnDayDialogRequest*>(lParam)->Form);
    SetFocus(GetDlgItem(dialog, IDC_OWN_NAME));
    return FALSE;  // the focus is set
  }
  const auto* request =
      reinterpret_cast<const OwnDayDialogRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message != WM_COMMAND || !request) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_OWN_LUNAR:
    case IDC_OWN_GREGORIAN: {
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      const bool lunar = LOWORD(wParam) == IDC_OWN_LUNAR;
      OwnDayForm form = ReadForm(dialog, request->Form);
      if (request->CellDate) form = FormForDate(*request->CellDate, lunar);
      ShowDate(dialog, lunar, form.Month, form.Leap, form.Day);
      return TRUE;
    }
    case IDOK: {
      const std::string fault = request->Accept(ReadForm(dialog, request->Form));
      if (fault.empty()) {
        EndDialog(dialog, IDOK);
      } else {
        SetDialogText(dialog, IDC_OWN_FAULT, fault);
        MessageBeep(MB_ICONWARNING);
      }
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

struct ListDialog {
  const OwnDaysListActions& Actions;
  std::vector<OwnDayListRow> Rows;
};

constexpr struct {
  const wchar_t* Title;
  int Width;
} kColumns[] = {{L"名称", 130}, {L"日子", 130}, {L"下一次", 90}, {L"还有", 70}};

void FillRows(HWND dialog, ListDialog& list) {
  HWND view = GetDlgItem(dialog, IDC_OWN_LIST);
  const int keep = ListView_GetNextItem(view, -1, LVNI_SELECTED);
  ListView_DeleteAllItems(view);
  list.Rows = list.Actions.Rows();
  for (size_t i = 0; i < list.Rows.size(); ++i) {
    const OwnDayListRow& row = list.Rows[i];
    const std::string cells[] = {row.Name, row.Rule, row.Next, row.DaysLeft};
    for (int column = 0; column < 4; ++column) {
      std::wstring text = ToWide(cells[column]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.iSubItem = column;
      item.pszText = text.data();
      if (column == 0) {
        ListView_InsertItem(view, &item);
      } else {
        ListView_SetItem(view, &item);
      }
    }
  }
  const int count = static_cast<int>(list.Rows.size());
  if (count > 0) {
    const int select = std::clamp(keep, 0, count - 1);
    ListView_SetItemState(view, select, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
}

std::optional<size_t> SelectedDay(HWND dialog, const ListDialog& list) {
  const int row = ListView_GetNextItem(GetDlgItem(dialog, IDC_OWN_LIST), -1, LVNI_SELECTED);
  if (row < 0 || row >= static_cast<int>(list.Rows.size())) return std::nullopt;
  return list.Rows[row].Index;
}

INT_PTR CALLBACK OwnDaysListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    HWND view = GetDlgItem(dialog, IDC_OWN_LIST);
    ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 4; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<wchar_t*>(kColumns[i].Title);
      column.cx = MulDiv(kColumns[i].Width, WindowDpi(dialog), 96);  // widths are at 96 DPI
      ListView_InsertColumn(view, i, &column);
    }
    FillRows(dialog, *reinterpret_cast<ListDialog*>(lParam));
    return TRUE;
  }
  auto* list = reinterpret_cast<ListDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!list) return FALSE;
  if (message == WM_NOTIFY) {
    const auto* note = reinterpret_cast<const NMHDR*>(lParam);
    if (note->idFrom == IDC_OWN_LIST && note->code == NM_DBLCLK)
      PostMessageW(dialog, WM_COMMAND, IDC_OWN_EDIT, 0);
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  const std::optional<size_t> day = SelectedDay(dialog, *list);
  switch (LOWORD(wParam)) {
    case IDC_OWN_ADD:
      list->Actions.Add(dialog);
      break;
    case IDC_OWN_EDIT:
    case IDC_OWN_DELETE:
      if (!day) {
        MessageBeep(MB_ICONWARNING);
        return TRUE;
      }
      (LOWORD(wParam) == IDC_OWN_EDIT ? list->Actions.Edit : list->Actions.Delete)(dialog, *day);
      break;
    case IDC_OWN_EXPORT:
      list->Actions.Export(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
  FillRows(dialog, *list);
  return TRUE;
}

}  // namespace

bool RunOwnDayDialog(HWND owner, HINSTANCE module, const OwnDayDialogRequest& request) {
  return DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_OWN_DAY), owner, OwnDayDialogProc,
                         reinterpret_cast<LPARAM>(&request)) == IDOK;
}

void RunOwnDaysListDialog(HWND owner, HINSTANCE module, const OwnDaysListActions& actions) {
  ListDialog list{actions, {}};
  DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_OWN_DAYS), owner, OwnDaysListProc,
                  reinterpret_cast<LPARAM>(&list));
}

std::optional<std::wstring> AskExportPath(HWND owner) {
  wchar_t path[MAX_PATH] = L"纪念日.ics";
  OPENFILENAMEW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpstrFilter = L"iCalendar 日历文件 (*.ics)\0*.ics\0";
  choice.lpstrFile = path;
  choice.nMaxFile = MAX_PATH;
  choice.lpstrDefExt = L"ics";
  choice.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&choice)) return std::nullopt;
  return std::wstring(path);
}

}  // namespace kelvo
