#pragma once
// Finds the update question box of a process and answers it with a real key
// press, from a thread of the test.
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
  bool hasYes = false;
  bool hasNo = false;
  bool hasCancel = false;
  bool questionIcon = false;
};

class QuestionBoxWatcher {
 public:
  enum class Answer { Yes, No };

  explicit QuestionBoxWatcher(Answer answer, DWORD processId = GetCurrentProcessId())
      : m_answer(answer), m_processId(processId), m_thread([this] { Watch(); }) {}
  ~QuestionBoxWatcher() {
    m_stop = true;
    m_thread.join();
  }
  QuestionBoxWatcher(const QuestionBoxWatcher&) = delete;
  QuestionBoxWatcher& operator=(const QuestionBoxWatcher&) = delete;

  std::vector<SeenBox> Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
  }

 private:
  struct Search {
    DWORD processId;
    HWND found = nullptr;
  };

  static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hWnd, cls, 64);
    if (pid == search->processId && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hWnd)) {
      search->found = hWnd;
      return FALSE;
    }
    return TRUE;
  }

  static BOOL CALLBACK ReadChild(HWND hWnd, LPARAM lParam) {
    auto* box = reinterpret_cast<SeenBox*>(lParam);
    wchar_t cls[64] = {};
    GetClassNameW(hWnd, cls, 64);
    if (lstrcmpiW(cls, L"Static") == 0) {
      if (GetWindowLongW(hWnd, GWL_STYLE) & SS_ICON) {
        HICON icon = reinterpret_cast<HICON>(SendMessageW(hWnd, STM_GETICON, 0, 0));
        if (icon && icon == LoadIconW(nullptr, IDI_QUESTION)) box->questionIcon = true;
      } else {
        wchar_t text[512] = {};
        GetWindowTextW(hWnd, text, 512);
        if (text[0]) box->text = text;
      }
    }
    return TRUE;
  }

  void Press(HWND box) {
    SetForegroundWindow(box);
    Sleep(100);
    const WORD key = m_answer == Answer::Yes ? 'Y' : 'N';
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }

  void Watch() {
    HWND answered = nullptr;
    DWORD answeredAt = 0;
    while (!m_stop) {
      Search search{m_processId};
      EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found && search.found != answered) {
        SeenBox box;
        wchar_t title[256] = {};
        GetWindowTextW(search.found, title, 256);
        box.title = title;
        EnumChildWindows(search.found, &ReadChild, reinterpret_cast<LPARAM>(&box));
        box.hasYes = GetDlgItem(search.found, IDYES) != nullptr;
        box.hasNo = GetDlgItem(search.found, IDNO) != nullptr;
        box.hasCancel = GetDlgItem(search.found, IDCANCEL) != nullptr;
        {
          std::lock_guard<std::mutex> lock(m_mutex);
          m_seen.push_back(box);
        }
        Press(search.found);
        answered = search.found;
        answeredAt = GetTickCount();
      } else if (search.found && search.found == answered && GetTickCount() - answeredAt > 3000) {
        // The key press did not reach the box: press again.
        Press(search.found);
        answeredAt = GetTickCount();
      }
      Sleep(50);
    }
  }

  Answer m_answer;
  DWORD m_processId;
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::vector<SeenBox> m_seen;
  std::thread m_thread;
};

}  // namespace kelvo::test
