// The program against a server that lies, stalls or fails: the real
// KelvoCalendar.exe and the real update check under Wine, the loopback
// server answering as the program's HTTP proxy for its own server host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "desktop/win32/module_file.h"
#include "desktop/window_messages.h"
#include "kelvo_version.h"
#include "net/announcements.h"
#include "net/win32/kelvo_download_file.h"
#include "net/win32/mod_gg.h"
#include "tests/support/test_server.h"
#include "tests/support/update_date_registry.h"
#include "tests/support/win32_files.h"
#include "tests/update/win32/question_box.h"
#include "update/script_validation.h"
#include "update/win32/mod_main.h"
#include "update/win32/update_frm.h"
#include "window/win32/calendar_window.h"

namespace kelvo {
namespace {

namespace server = test_server;
using server::TimesRequested;
using test::Exists;
using test::QuestionBoxWatcher;
using test::ReadBytes;

const std::string kServer = std::string("http://") + KELVO_SERVER_HOST;
const std::string kPayloadUrl = kServer + "/myapp/KelvoCalendar/KelvoCalendar2.exe";

// The real program, started in a folder of its own.
class CalendarProcess {
 public:
  explicit CalendarProcess(const std::string& folder) {
    test::WriteBytes(folder + "\\KelvoCalendar.exe",
                     ReadBytes(test::WinePath(KELVO_TEST_CALENDAR_PATH)));
    std::string line = "\"" + folder + "\\KelvoCalendar.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &m_process));
  }
  ~CalendarProcess() {
    if (!Ended(5000)) TerminateProcess(m_process.hProcess, 1);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
  }
  DWORD Id() const { return m_process.dwProcessId; }
  // Waits up to `ms` for a visible calendar window other than `old`.
  HWND WaitForWindow(DWORD ms, HWND old = nullptr) const {
    struct Search {
      DWORD pid;
      HWND old, found = nullptr;
    } search{Id(), old};
    for (DWORD start = GetTickCount(); !search.found && GetTickCount() - start < ms; Sleep(20)) {
      EnumWindows(
          [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            wchar_t cls[64] = {};
            GetWindowThreadProcessId(hWnd, &pid);
            GetClassNameW(hWnd, cls, 64);
            if (pid == s->pid && hWnd != s->old && IsWindowVisible(hWnd) &&
                lstrcmpW(cls, CalendarWindow::ClassName) == 0) {
              s->found = hWnd;
            }
            return !s->found;
          },
          reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
  }
  // The tray menu's exit command.
  void Exit() const { PostMessageW(WaitForWindow(1000), WM_COMMAND, IDM_EXIT, 0); }
  bool Ended(DWORD ms) const {
    return WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0;
  }

 private:
  PROCESS_INFORMATION m_process = {};
};

class HostileServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available() && !server::Env("http_proxy").empty())
        << "run through tests/support/with_http_server --proxy";
    test::ForgetDate();
    folder = test::NewFolder("kelvo hostile");
  }
  void TearDown() override {
    server::Unserve("_routes");
    server::Unserve("myapp/KelvoCalendar/update.txt");
    test::ForgetDate();
    test::RemoveFolder(folder);
  }
  std::string folder;
};

TEST_F(HostileServerTest, CaptivePortalGivesNoLinkNoQuestionAndTheListIsFetchedAgain) {
  server::Serve("portal.html", "<html><a href=\"#login\">Wi-Fi $5/day</a>#<p>$3</p></html>");
  server::Serve("_routes",
                "/myapp/KelvoCalendar/GGList.txt /portal.html\n"
                "/myapp/KelvoCalendar/update.txt /portal.html\n");
  CalendarProcess calendar(folder);
  QuestionBoxWatcher watcher(QuestionBoxWatcher::Answer::No, calendar.Id());
  ASSERT_TRUE(calendar.WaitForWindow(10000));
  for (int i = 0; i < 250 && TimesRequested("/myapp/KelvoCalendar/GGList.txt") < 2; ++i) Sleep(100);
  EXPECT_EQ(TimesRequested("/myapp/KelvoCalendar/GGList.txt"), 2) << "fetched again 15 s later";
  EXPECT_GE(TimesRequested("/myapp/KelvoCalendar/update.txt"), 1);
  EXPECT_TRUE(watcher.Seen().empty());
  calendar.Exit();
  EXPECT_TRUE(calendar.Ended(5000));
}

// The server accepts every request and never answers. The face keeps
// answering throughout the update check, and exit ends the program although
// the check's download is still waiting.
TEST_F(HostileServerTest, StalledServerNeverFreezesTheFaceAndExitEndsThePendingCheck) {
  server::Serve("_routes",
                "/myapp/KelvoCalendar/GGList.txt /_/delay/120/_/ok/10\n"
                "/myapp/KelvoCalendar/update.txt /_/delay/120/_/ok/10\n");
  CalendarProcess calendar(folder);
  const HWND face = calendar.WaitForWindow(10000);
  ASSERT_TRUE(face);
  DWORD worst = 0;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 25000;) {
    const DWORD asked = GetTickCount();
    SendMessageTimeoutW(face, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    worst = std::max<DWORD>(worst, GetTickCount() - asked);
    Sleep(20);
  }
  EXPECT_GE(TimesRequested("/myapp/KelvoCalendar/update.txt"), 1) << "the check ran";
  std::printf("[ figure ] worst answer time during a stalled check: %lu ms\n", worst);
  EXPECT_LT(worst, 1000u);
  const DWORD exitAt = GetTickCount();
  calendar.Exit();
  EXPECT_TRUE(calendar.Ended(5000));
  std::printf("[ figure ] exit during the pending check took %lu ms\n", GetTickCount() - exitAt);
}

// No byte for 30 s fails the request, in the update check's download and in
// the announcement fetch alike.
TEST_F(HostileServerTest, RequestsWithoutBytesFor30SecondsFail) {
  GGFetch fetch;
  fetch.Start(kServer + "/_/delay/60/_/ok/10");
  CKelvoDownLoadFile download;
  std::string text;
  const DWORD start = GetTickCount();
  download.DownLoadFile(kServer + "/_/stall/100/10/60", "", false, false, false, text);
  const DWORD took = GetTickCount() - start;
  EXPECT_EQ(text, "");
  EXPECT_GE(took, 29000u);
  EXPECT_LT(took, 40000u);
  for (int i = 0; i < 50 && fetch.InFlight() > 0; ++i) Sleep(100);
  EXPECT_EQ(fetch.InFlight(), 0);
  EXPECT_FALSE(fetch.Loaded());
}

// Yes, then the payload is missing: the del line after the down never runs,
// and the calendar comes back in the same process.
TEST_F(HostileServerTest, MissingPayloadAfterYesKeepsTheFilesAndBringsTheCalendarBack) {
  test::WriteBytes(folder + "\\KelvoCalendar.bak", "the previous version");
  server::Serve("myapp/KelvoCalendar/update.txt",
                "Version:9.9.9\r\ndown|" + kPayloadUrl + "|apppath:\r\n" +
                    "del|apppath:KelvoCalendar.bak\r\nrun|apppath:KelvoCalendar2.exe\r\n");
  CalendarProcess calendar(folder);
  QuestionBoxWatcher watcher(QuestionBoxWatcher::Answer::Yes, calendar.Id());
  const HWND first = calendar.WaitForWindow(10000);
  ASSERT_TRUE(first);
  for (int i = 0; i < 300 && watcher.Seen().empty(); ++i) Sleep(100);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  // Timed from the question's end: under Xvfb without a window manager
  // every hidden top-level window costs Wine a one-second wait.
  while (FindWindowW(L"#32770", nullptr)) Sleep(10);
  const DWORD answered = GetTickCount();
  EXPECT_TRUE(calendar.WaitForWindow(5000, first)) << "no calendar window back within 5 s";
  std::printf("[ figure ] calendar back %lu ms after the question\n", GetTickCount() - answered);
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.bak"), "the previous version");
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe.td"));
  calendar.Exit();
  EXPECT_TRUE(calendar.Ended(5000));
}

// down into another folder, apppath:..\x, del of an absolute path, run of a
// program elsewhere: not an update, so no question and nothing fetched.
TEST_F(HostileServerTest, EscapingScriptsAskNothingAndTouchNothing) {
  const std::string elsewhere = test::NewFolder("kelvo-elsewhere");
  test::WriteBytes(elsewhere + "\\victim.txt", "keep");
  const std::string down = "down|" + kPayloadUrl + "|apppath:\r\n";
  const std::string run = "run|apppath:KelvoCalendar2.exe\r\n";
  const int fetched = TimesRequested("/myapp/KelvoCalendar/KelvoCalendar2.exe");
  for (const std::string& script :
       {"down|" + kPayloadUrl + "|" + elsewhere + "\r\nrun|" + elsewhere + "\\KelvoCalendar2.exe",
        "down|" + kPayloadUrl + "|apppath:..\\x\r\nrun|apppath:..\\x\\KelvoCalendar2.exe",
        down + "del|" + elsewhere + "\\victim.txt\r\n" + run,
        down + run + "run|" + elsewhere + "\\victim.txt"}) {
    SCOPED_TRACE(script);
    server::Serve("myapp/KelvoCalendar/update.txt", "Version:9.9.9\r\n" + script);
    QuestionBoxWatcher watcher(QuestionBoxWatcher::Answer::Yes);
    EXPECT_TRUE(CheckForUpdate([] {}));
    EXPECT_TRUE(watcher.Seen().empty());
  }
  EXPECT_FALSE(UpdateWasAccepted());
  EXPECT_EQ(TimesRequested("/myapp/KelvoCalendar/KelvoCalendar2.exe"), fetched);
  EXPECT_EQ(ReadBytes(elsewhere + "\\victim.txt"), "keep");
  test::RemoveFolder(elsewhere);
}

BOOL WINAPI DiskFull(HANDLE, const void*, DWORD, DWORD* written) {
  *written = 0;
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// A payload cut short (after Yes) and a payload the disk cannot take: no
// ".td" is left, nothing is started, and the calendar is asked back.
TEST_F(HostileServerTest, ShortOrUnwrittenPayloadLeavesNoTdAndStartsNothing) {
  const std::string app = AppDirOfExecutable(RunningModuleFileName());
  test::WriteBytes(app + "5000.td", "left from an earlier run");
  server::Serve(
      "myapp/KelvoCalendar/update.txt",
      "Version:9.9.9\r\ndown|" + kServer + "/_/cut/20000/5000|apppath:\r\nrun|apppath:5000");
  int restored = 0;
  {
    QuestionBoxWatcher watcher(QuestionBoxWatcher::Answer::Yes);
    EXPECT_TRUE(CheckForUpdate(UpdateCalendar{nullptr, [] {}, [&] { ++restored; }}));
    EXPECT_EQ(watcher.Seen().size(), 1u);
  }
  EXPECT_EQ(restored, 1);
  EXPECT_FALSE(Exists(app + "5000.td"));
  EXPECT_FALSE(Exists(app + "5000"));

  server::Serve("myapp/KelvoCalendar/KelvoCalendar2.exe",
                ReadBytes(test::WinePath(KELVO_TEST_PAYLOAD_PATH)));
  SetPayloadWriter(&DiskFull);
  UpdateFrm form;
  form.Show();
  form.UpdateFile("v\r\ndown|" + kPayloadUrl + "|" + folder + "\r\nrun|" + folder +
                  "\\KelvoCalendar2.exe");
  SetPayloadWriter(nullptr);
  EXPECT_TRUE(form.Failed());
  EXPECT_FALSE(IsWindow(form.Handle()));
  Sleep(1000);
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe.td"));
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe"));
  EXPECT_FALSE(Exists(folder + "\\payload-started.txt"));
  test::DrainMessages();
}

// Links to a local program or a share are never handed to the shell.
TEST_F(HostileServerTest, LocalProgramLinkStartsNothing) {
  test::WriteBytes(folder + "\\x.exe", ReadBytes(test::WinePath(KELVO_TEST_PAYLOAD_PATH)));
  CalendarWindow window;
  window.OnInitialize();
  window.Create(GetModuleHandleW(nullptr));
  window.OnLoad();
  window.Show();
  window.State().AnnouncementLinks = {{AnnouncementRect(0), "x", folder + "\\x.exe"},
                                      {AnnouncementRect(1), "y", "\\\\127.0.0.1\\c$\\x.exe"}};
  window.State().LinkCount = 2;
  for (int y : {225, 250}) {
    SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(420, y));
    SendMessageW(window.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(420, y));
  }
  EXPECT_FALSE(test::WaitForFile(folder + "\\payload-started.txt", 2000));
  window.Unload();
  test::DrainMessages();
}

}  // namespace
}  // namespace kelvo
