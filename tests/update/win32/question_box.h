#pragma once
// Answers the message boxes of a process with a real key press, from a
// thread of the test, and notes what each box showed.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvo::test {

struct SeenBox {
  std::wstring title;
  std::wstring text;
  bool yesAndNoOnly = false;
  bool questionIcon = false;
};

class QuestionBoxWatcher {
 public:
  // `key` is 'Y' or 'N'.
  explicit QuestionBoxWatcher(WORD key, DWORD processId = GetCurrentProcessId())
      : m_key(key), m_processId(processId), m_thread([this] { Watch(); }) {}
  ~QuestionBoxWatcher() {
    m_stop = true;
    m_thread.join();
  }

  std::vector<SeenBox> Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
  }

 private:
  HWND FindBox() const {
    std::pair<DWORD, HWND> search{m_processId, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
          auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(lParam);
          DWORD pid = 0;
          wchar_t cls[16] = {};
          GetWindowThreadProcessId(hWnd, &pid);
          GetClassNameW(hWnd, cls, 16);
          if (pid == s->first && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hWnd))
            s->second = hWnd;
          return s->second == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
  }

  static SeenBox Read(HWND hWnd) {
    SeenBox box;
    wchar_t text[512] = {};
    GetWindowTextW(hWnd, text, 512);
    box.title = text;
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!GetClassNameW(child, text, 512) || lstrcmpiW(text, L"Static") != 0) continue;
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        box.questionIcon |= icon && icon == LoadIconW(nullptr, IDI_QUESTION);
      } else if (GetWindowTextW(child, text, 512)) {
        box.text = text;
      }
    }
    box.yesAndNoOnly = GetDlgItem(hWnd, IDYES) && GetDlgItem(hWnd, IDNO) &&
                       !GetDlgItem(hWnd, IDCANCEL) && !GetDlgItem(hWnd, IDOK);
    return box;
  }

  // A press that does not reach the box is repeated after three seconds.
  void Watch() {
    HWND answered = nullptr;
    DWORD answeredAt = 0;
    for (; !m_stop; Sleep(50)) {
      const HWND box = FindBox();
      if (!box || (box == answered && GetTickCount() - answeredAt < 3000)) continue;
      if (box != answered) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.push_back(Read(box));
      }
      SetForegroundWindow(box);
      Sleep(100);
      INPUT keys[2] = {};
      keys[0].type = keys[1].type = INPUT_KEYBOARD;
      keys[0].ki.wVk = keys[1].ki.wVk = m_key;
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
      answered = box;
      answeredAt = GetTickCount();
    }
  }

  WORD m_key;
  DWORD m_processId;
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::vector<SeenBox> m_seen;
  std::thread m_thread;
};

}  // namespace kelvo::test
