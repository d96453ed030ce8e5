#include "window/win32/selector_list_box.h"

#include "desktop/win32/platform_text.h"

namespace kelvo {

void SelectorListBox::Open(HWND face, const ListLayout& layout,
                           const std::vector<std::string>& items, int selected, HFONT font) {
  Close();
  const Rect& area = layout.Area;
  const bool columns = static_cast<size_t>(layout.Rows) < items.size();
  m_list.Reset(CreateWindowExW(
      0, L"LISTBOX", nullptr,
      WS_CHILD | WS_BORDER | LBS_NOINTEGRALHEIGHT | (columns ? LBS_MULTICOLUMN : 0), area.Left,
      area.Top, area.Right - area.Left, area.Bottom - area.Top, face, nullptr,
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(face, GWLP_HINSTANCE)), nullptr));
  HWND list = m_list.Get();
  if (!list) {
    PostMessageW(face, DoneMessage, FALSE, 0);  // the face must not wait for a list it lacks
    return;
  }
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // After the font, which sets the item height anew.
  SendMessageW(list, LB_SETITEMHEIGHT, 0, layout.ItemHeight);
  if (columns) SendMessageW(list, LB_SETCOLUMNWIDTH, layout.ColumnWidth, 0);
  for (const std::string& item : items) {
    const std::wstring text = ToWide(item);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, selected, 0);
  // The box's own procedure stays the list box's; ListProc only listens in.
  SetWindowLongPtrW(list, GWLP_USERDATA,
                    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
  ShowWindow(list, SW_SHOW);
  SetFocus(list);
}

void SelectorListBox::Close() {
  HWND list = m_list.Get();
  if (!list) return;
  // Quietly: the focus leaving now is no news for the face.
  SetWindowLongPtrW(list, GWLP_WNDPROC, GetWindowLongPtrW(list, GWLP_USERDATA));
  if (GetFocus() == list) SetFocus(GetParent(list));
  m_list.Reset();
}

int SelectorListBox::Highlighted() const {
  if (!m_list) return -1;
  return static_cast<int>(SendMessageW(m_list.Get(), LB_GETCURSEL, 0, 0));
}

LRESULT CALLBACK SelectorListBox::ListProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  const auto listBox = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  const auto tell = [hWnd](bool chosen) {
    PostMessageW(GetParent(hWnd), DoneMessage, chosen ? TRUE : FALSE, 0);
  };
  switch (uMsg) {
    case WM_KEYDOWN:
      switch (ListKeyAction(static_cast<int>(wParam))) {
        case ListKey::Choose:
          return tell(true), 0;
        case ListKey::Close:
          return tell(false), 0;
        case ListKey::Move:
          break;
      }
      break;
    case WM_LBUTTONUP: {
      const LRESULT result = CallWindowProcW(listBox, hWnd, uMsg, wParam, lParam);
      // A release on an item chooses it, as in any drop-down list.
      if (HIWORD(SendMessageW(hWnd, LB_ITEMFROMPOINT, 0, lParam)) == 0) tell(true);
      return result;
    }
    case WM_KILLFOCUS:
      tell(false);
      break;
    default:
      break;
  }
  return CallWindowProcW(listBox, hWnd, uMsg, wParam, lParam);
}

}  // namespace kelvo
