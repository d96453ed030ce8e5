#pragma once
// The real program started in a folder of its own under Wine, the loopback
// server answering as its HTTP proxy: its question boxes answered, its face
// read from the screen. KELVO_TEST_CALENDAR_PATH names the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "tests/support/wine_testing.h"

namespace kelvo {

using namespace test;

constexpr const char* kList = "/myapp/KelvoCalendar/GGList.txt";
constexpr const char* kManifest = "/myapp/KelvoCalendar/update.txt";
constexpr const char* kSettingsKey = "SOFTWARE\\KelvoCalendar";
// "公告一$http://a/1#公告二$http://a/2" in code page 936.
const std::string kListBytes =
    "\xb9\xab\xb8\xe6\xd2\xbb$http://a/1#\xb9\xab\xb8\xe6\xb6\xfe$http://a/2";

// Where the program keeps the holiday file it took.
inline std::string StoredHolidays() {
  char path[MAX_PATH] = {};
  ExpandEnvironmentStringsA("%LOCALAPPDATA%\\KelvoCalendar\\holidays.txt", path, MAX_PATH);
  return path;
}

// The date of the last update question as the program stores it.
inline std::string StoredDate() {
  return ReadValue(kSettingsKey, "NoUpdateDate").data.c_str();
}

// Today in the user's short date format.
inline std::string Today() {
  char text[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
  return text;
}

// Answers the message boxes of a process with the button `answer` from a
// thread of its own, and notes what each showed: "title|text|buttons".
class QuestionBoxWatcher {
 public:
  QuestionBoxWatcher(int answer, DWORD processId) : m_answer(answer), m_processId(processId) {}
  ~QuestionBoxWatcher() { m_stop = true, m_thread.join(); }
  std::vector<std::wstring> Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
  }

 private:
  static BOOL CALLBACK Find(HWND hWnd, LPARAM lParam) {
    auto* self = reinterpret_cast<QuestionBoxWatcher*>(lParam);
    DWORD pid = 0;
    wchar_t cls[16] = {};
    GetWindowThreadProcessId(hWnd, &pid);
    GetClassNameW(hWnd, cls, 16);
    if (pid == self->m_processId && !lstrcmpW(cls, L"#32770") && hWnd != self->m_answered) {
      wchar_t title[256] = {}, text[512] = {};
      GetWindowTextW(hWnd, title, 256);
      GetDlgItemTextW(hWnd, 0xFFFF, text, 512);  // the message box's text
      if (!title[0] || !text[0]) return TRUE;    // Wine is still building it: look again
      std::wstring seen = std::wstring(title) + L"|" + text + L"|";
      for (const auto& [id, name] :
           {std::pair{IDOK, L"OK "}, {IDYES, L"Yes "}, {IDNO, L"No "}, {IDCANCEL, L"Cancel "}})
        if (GetDlgItem(hWnd, id)) seen += name;
      std::lock_guard<std::mutex> lock(self->m_mutex);
      self->m_seen.push_back(seen);
      PostMessageW(hWnd, WM_COMMAND, self->m_answer, 0);
      self->m_answered = hWnd;
    }
    return TRUE;
  }

  int m_answer;
  DWORD m_processId;
  HWND m_answered = nullptr;
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::vector<std::wstring> m_seen;
  std::thread m_thread{[this] {
    for (; !m_stop; Sleep(50)) EnumWindows(&Find, reinterpret_cast<LPARAM>(this));
  }};
};

class CalendarEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteValue(kSettingsKey, "NoUpdateDate");
    for (const char* file : {"_requests.log", "_routes", kList + 1})
      DeleteFileA(ServedFile(file).c_str());
    for (const std::string& file : {StoredHolidays(), StoredHolidays() + ".sig"})
      DeleteFileA(file.c_str());
    folder = NewFolder("kelvo update");  // a space: the "del" parameter is not quoted
    WriteBytes(folder + "\\KelvoCalendar.exe", ReadBytes("Z:" KELVO_TEST_CALENDAR_PATH));
  }
  void TearDown() override {
    Stop();
    Sleep(1000);  // Wine takes the window down
    DeleteValue(kSettingsKey, "NoUpdateDate");
    RemoveFolder(folder);
  }
  void Stop() {
    watcher.reset();
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  // Ends the program and starts it again, with a fresh request log.
  void Restart(int answer) {
    Stop();
    DeleteFileA(ServedFile("_requests.log").c_str());
    Start(answer);
  }

  // Starts the program in its folder, answering questions with `answer`, and
  // waits for its first list request and its painted face.
  void Start(int answer) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + folder + "\\KelvoCalendar.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &process));
    watcher.emplace(answer, process.dwProcessId);
    ASSERT_TRUE(WaitFor([] { return TimesRequested(kList) > 0; }, 60000));
    startedAt = GetTickCount();
    ASSERT_TRUE(WaitFor([this] { return Row0().second > 500; }, 30000)) << "no face";
  }
  bool Running() { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
  // The tray menu's exit command; true when the process ended within 5 s.
  bool Exit(DWORD* took) {
    const DWORD start = GetTickCount();
    PostMessageW(FindWindowW(L"KelvoCalendarWnd", nullptr), WM_COMMAND, 103, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 5000) == WAIT_OBJECT_0;
    *took = GetTickCount() - start;
    return ended;
  }
  // Since the program's own start of its 15 s count, as near as the test can
  // tell: the polls may see the first list request 50 ms late, and that
  // request reaches the server only after the fetch thread has set up
  // WinINet, which under a loaded Wine takes up to a few hundred ms more.
  DWORD Since() { return GetTickCount() - startedAt + 500; }

  // Pixels of the face on the screen, from its top-left corner.
  std::vector<uint32_t> Face(int x, int y, int w, int h, POINT* origin = nullptr) {
    RECT r = {};
    GetWindowRect(FindWindowW(L"KelvoCalendarWnd", nullptr), &r);
    if (origin) *origin = {r.left, r.top};
    HDC screen = GetDC(nullptr);
    std::vector<uint32_t> pixels = Pixels(screen, r.left + x, r.top + y, w, h);
    ReleaseDC(nullptr, screen);
    return pixels;
  }
  // White and panel-blue pixels of announcement row 0: a link is white text.
  std::pair<int, int> Row0() {
    std::pair<int, int> count;
    for (uint32_t p : Face(410, 220, 128, 20)) {
      const int r = p >> 16, g = (p >> 8) & 255, b = p & 255;
      count.first += r > 230 && g > 230 && b > 230;
      count.second += b > 230 && r < 150;
    }
    return count;
  }
  bool LinksShown() { return Row0().first > 20; }
  // A click on the next-month arrow changes the month text.
  bool NextMonthAnswers() {
    POINT origin;
    const std::vector<uint32_t> month = Face(150, 14, 50, 22, &origin);
    SetCursorPos(origin.x + 217, origin.y + 25);
    Sleep(300);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    SetCursorPos(0, 799);
    return WaitFor([&] { return Face(150, 14, 50, 22) != month; }, 5000);
  }

  // As a standard user: the machine's settings may be read, not written.
  const ReadOnlyKey machineSettings{HKEY_LOCAL_MACHINE, kSettingsKey};
  std::string folder;
  PROCESS_INFORMATION process = {};
  std::optional<QuestionBoxWatcher> watcher;
  DWORD startedAt = 0;
};

}  // namespace kelvo
