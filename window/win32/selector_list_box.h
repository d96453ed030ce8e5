#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "desktop/win32/unique_handle.h"
#include "window/navigation.h"

namespace kelvo {

// The open year or month list: a standard list box, a child of the face,
// holding the keyboard while it is open. The box tells the face what the
// user did by posting DoneMessage (wParam 1: the highlighted item was
// chosen by Enter or a click, 0: Esc or the focus went elsewhere), so it is
// never destroyed inside one of its own messages.
class SelectorListBox {
 public:
  static constexpr UINT DoneMessage = WM_APP + 19;

  void Open(HWND face, const ListLayout& layout, const std::vector<std::string>& items,
            int selected, HFONT font);
  // Gives the keyboard back to the face when the box had it.
  void Close();
  HWND Handle() const { return m_list.Get(); }
  // The highlighted item, or -1.
  int Highlighted() const;

 private:
  static LRESULT CALLBACK ListProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  OwnedWindow m_list;
};

}  // namespace kelvo
