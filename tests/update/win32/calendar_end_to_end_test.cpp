// The real program under Wine, the loopback server answering as its HTTP
// proxy for its own server host: the announcement list on the face, the
// network timer's schedule, the update question and the whole update. The
// face is read from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "tests/support/update_date_registry.h"
#include "tests/support/wine_testing.h"
#include "tests/update/win32/question_box.h"

namespace kelvo {
namespace {

using namespace test;

constexpr const char* kList = "/myapp/KelvoCalendar/GGList.txt";
constexpr const char* kManifest = "/myapp/KelvoCalendar/update.txt";
// "公告一$http://a/1#公告二$http://a/2" in code page 936.
const std::string kListBytes =
    "\xb9\xab\xb8\xe6\xd2\xbb$http://a/1#\xb9\xab\xb8\xe6\xb6\xfe$http://a/2";

std::string WinePath(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return "Z:" + path;
}

class CalendarEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetDate();
    for (const char* file : {"_requests.log", "_routes", kList + 1})
      DeleteFileA(ServedFile(file).c_str());
    folder = NewFolder("kelvo update");  // a space: the "del" parameter is not quoted
    WriteBytes(folder + "\\KelvoCalendar.exe", ReadBytes(WinePath(KELVO_TEST_CALENDAR_PATH)));
  }
  void TearDown() override {
    watcher.reset();
    if (process.hProcess) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, 10000);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      Sleep(1000);  // Wine takes the window down
    }
    ForgetDate();
    RemoveFolder(folder);
  }

  // Starts the program in its folder and waits for its first list request;
  // questions are answered with `key`.
  void Start(WORD key) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + folder + "\\KelvoCalendar.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &process));
    watcher.emplace(key, process.dwProcessId);
    ASSERT_TRUE(WaitFor([] { return TimesRequested(kList) > 0; }, 60000));
    startedAt = GetTickCount();
    ASSERT_TRUE(WaitFor([this] { return Row0().second > 500; }, 30000)) << "the face is painted";
  }
  bool Running() { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
  // Since the first list request; the polls may see a request 50 ms late.
  DWORD Since() { return GetTickCount() - startedAt + 50; }

  // Pixels of the face on the screen, from its top-left corner.
  std::vector<uint32_t> Face(int x, int y, int w, int h) {
    RECT r = {};
    GetWindowRect(FindWindowW(L"KelvoCalendarWnd", nullptr), &r);
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
    const std::vector<uint32_t> month = Face(150, 14, 50, 22);
    RECT r = {};
    GetWindowRect(FindWindowW(L"KelvoCalendarWnd", nullptr), &r);
    SetCursorPos(r.left + 217, r.top + 25);
    Sleep(300);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    SetCursorPos(0, 799);
    return WaitFor([&] { return Face(150, 14, 50, 22) != month; }, 5000);
  }

  std::string folder;
  PROCESS_INFORMATION process = {};
  std::optional<QuestionBoxWatcher> watcher;
  DWORD startedAt = 0;
};

// Published within 15 s, the list stops the timer: no retry, no update check.
TEST_F(CalendarEndToEndTest, ListDeliveredAfterThreeSecondsShowsOnTheFace) {
  Serve("list.txt", kListBytes);
  Serve("_routes", std::string(kList) + " /_/delay/3/list.txt\n");
  Serve(kManifest, "Version:1.0.1\r\n");
  Start('N');
  const bool emptyAtFirst = !LinksShown();
  ASSERT_TRUE(WaitFor([this] { return LinksShown(); }, 30000));
  if (emptyAtFirst) {
    EXPECT_GE(Since(), 2900u) << "links before the server answered";
  }
  Sleep(17000 - std::min<DWORD>(Since(), 17000));
  EXPECT_TRUE(Running());
  EXPECT_EQ(TimesRequested(kList), 1);
  EXPECT_EQ(TimesRequested(kManifest), 0);
  EXPECT_TRUE(LinksShown());
}

// A list missing, then empty, is retried every 15 s; the update check comes
// with the first retry, once (the manifest names the running version).
TEST_F(CalendarEndToEndTest, MissingThenEmptyListIsRetriedWithOneUpdateCheck) {
  Serve(kManifest, "Version:1.0.0\r\n");
  Start('N');
  Serve(kList + 1, "");
  ASSERT_TRUE(WaitFor([] { return TimesRequested(kManifest) > 0; }, 40000));
  EXPECT_GT(Since(), 15000u);
  EXPECT_TRUE(WaitFor([] { return TimesRequested(kList) == 2; }, 5000));
  EXPECT_TRUE(WaitFor([] { return TimesRequested(kList) == 3; }, 25000));
  EXPECT_GT(Since(), 30000u);
  Sleep(1000);
  EXPECT_EQ(TimesRequested(kManifest), 1);
  EXPECT_FALSE(LinksShown());
}

// A list that stalls after 12 bytes: the face answers clicks before and
// after the retry and shows no partial list. The check asks once, also when
// Timer1 ticks into a second check while the question is open, and No
// stores today's date.
TEST_F(CalendarEndToEndTest, StalledListLeavesTheFaceResponsiveAndNoIsAskedOnce) {
  Serve("list.txt", kListBytes);
  Serve("_routes", std::string(kList) + " /_/short/12/600/list.txt\n");
  Serve(kManifest, "Version:1.0.1\r\n");
  Start('N');
  Sleep(2000);
  EXPECT_TRUE(NextMonthAnswers()) << "while the list stalls";
  ASSERT_TRUE(WaitFor([this] { return !watcher->Seen().empty(); }, 20000));
  EXPECT_GT(Since(), 15000u);
  Sleep(2000);
  EXPECT_GE(TimesRequested(kList), 2);
  EXPECT_TRUE(Running());
  EXPECT_FALSE(LinksShown());
  EXPECT_TRUE(NextMonthAnswers()) << "after the retry";
  const std::vector<SeenBox> boxes = watcher->Seen();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"发现有新版本，是否现在更新？");
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

// Yes: the new program is downloaded, renamed into place and started with
// "del <old program>"; the calendar's process ends; no other file is lost.
TEST_F(CalendarEndToEndTest, YesInstallsAndStartsTheNewProgramAndEndsTheOld) {
  const std::string payload = ReadBytes(WinePath(KELVO_TEST_PAYLOAD_PATH));
  WriteBytes(folder + "\\KelvoCalendar.bak", "the previous version");
  WriteBytes(folder + "\\notes.txt", "the user's notes");
  Serve("files/KelvoCalendar2.exe", payload);
  Serve(kManifest,
        "Version:1.0.1\r\ndown|" + ServerUrl("/files/KelvoCalendar2.exe") +
            "|apppath:\r\ndel|apppath:KelvoCalendar.bak\r\nrun|apppath:KelvoCalendar2.exe\r\n");
  Start('Y');
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(watcher->Seen().size(), 1u);
  ASSERT_TRUE(WaitFor([&] { return Exists(folder + "\\payload-started.txt"); }, 30000));
  EXPECT_EQ(ReadBytes(folder + "\\payload-started.txt"), "del " + folder + "\\KelvoCalendar.exe");
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), payload);
  EXPECT_EQ(ReadBytes(folder + "\\notes.txt"), "the user's notes");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"KelvoCalendar.exe", "KelvoCalendar2.exe", "notes.txt",
                                          "payload-started.txt"}));
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

}  // namespace
}  // namespace kelvo
