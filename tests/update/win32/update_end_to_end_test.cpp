// The whole update, end to end, under Wine: a calendar process (a stand-in
// window whose timer runs the real CheckForUpdate) in its own folder, the
// loopback server answering as the program's HTTP proxy for its real update
// host, the question answered by a key press, the new program downloaded,
// renamed into place and started.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "calendar/date.h"
#include "kelvo_version.h"
#include "tests/support/test_server.h"
#include "tests/support/update_date_registry.h"
#include "tests/support/win32_files.h"
#include "tests/update/win32/question_box.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::Exists;
using test::ForgetDate;
using test::QuestionBoxWatcher;
using test::ReadBytes;
using test::ShortDate;
using test::StoredDate;

const std::string kUpdateUrlBase =
    std::string("http://") + KELVO_SERVER_HOST + "/myapp/KelvoCalendar/";

std::set<std::string> FolderNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class UpdateEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server --proxy";
    ASSERT_FALSE(server::Env("http_proxy").empty()) << "the server must answer as the proxy";
    ForgetDate();
    server::Unserve("_routes");
    // A space in the folder: the "del" parameter is not quoted.
    folder = test::NewFolder("kelvo update");
    calendar = ReadBytes(test::WinePath(KELVO_TEST_HOST_PATH));
    payload = ReadBytes(test::WinePath(KELVO_TEST_PAYLOAD_PATH));
    ASSERT_FALSE(calendar.empty());
    ASSERT_FALSE(payload.empty());
    test::WriteBytes(folder + "\\KelvoCalendar.exe", calendar);
    test::WriteBytes(folder + "\\KelvoCalendar.bak", "the previous version");
    test::WriteBytes(folder + "\\notes.txt", "the user's notes");
    server::Serve("myapp/KelvoCalendar/KelvoCalendar2.exe", payload);
    server::Serve("myapp/KelvoCalendar/update.txt",
                  "Version:1.0.1\r\n"
                  "down|" +
                      kUpdateUrlBase +
                      "KelvoCalendar2.exe|apppath:\r\n"
                      "del|apppath:KelvoCalendar.bak\r\n"
                      "run|apppath:KelvoCalendar2.exe\r\n");
  }
  void TearDown() override {
    ForgetDate();
    test::RemoveFolder(folder);
  }

  // Starts the calendar program in its folder, answers any question, and
  // waits for the program to end; its exit code.
  DWORD RunCalendar(QuestionBoxWatcher::Answer answer) {
    const std::wstring program = Utf8(folder + "\\KelvoCalendar.exe");
    const std::wstring directory = Utf8(folder);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
      ADD_FAILURE() << "cannot start the calendar: " << GetLastError();
      return 999;
    }
    DWORD code = 998;
    {
      QuestionBoxWatcher watcher(answer, process.dwProcessId);
      if (WaitForSingleObject(process.hProcess, 90000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
      } else {
        ADD_FAILURE() << "the calendar did not end";
        TerminateProcess(process.hProcess, 997);
      }
      boxes = watcher.Seen();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  static std::wstring Utf8(const std::string& ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, out.data(), n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
  }

  std::string folder;
  std::string calendar;
  std::string payload;
  std::vector<test::SeenBox> boxes;
};

TEST_F(UpdateEndToEndTest, YesInstallsAndStartsTheNewProgramAndEndsTheOld) {
  EXPECT_EQ(RunCalendar(QuestionBoxWatcher::Answer::Yes), 0u)
      << ReadBytes(folder + "\\host-log.txt");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"发现有新版本，是否现在更新？");
  EXPECT_EQ(boxes[0].title, L"提示");

  ASSERT_TRUE(test::WaitForFile(folder + "\\payload-started.txt", 30000));
  EXPECT_EQ(ReadBytes(folder + "\\payload-started.txt"), "del " + folder + "\\KelvoCalendar.exe");
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), payload);
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.exe"), calendar) << "the new program removes it";
  EXPECT_EQ(ReadBytes(folder + "\\notes.txt"), "the user's notes");
  EXPECT_EQ(FolderNames(folder),
            (std::set<std::string>{"KelvoCalendar.exe", "KelvoCalendar2.exe", "notes.txt",
                                   "payload-started.txt", "host-log.txt"}));
  EXPECT_EQ(ReadBytes(folder + "\\host-log.txt"), "start\nunload\nreturned after update\nend\n");
  EXPECT_EQ(StoredDate(), ShortDate(test::Today()));
  EXPECT_TRUE(server::WasRequested(kUpdateUrlBase + "update.txt") ||
              server::WasRequested("/myapp/KelvoCalendar/update.txt"));
}

// The real program: its network timer runs the check 15 seconds after
// start-up, since the announcement list (not served here) never arrives.
TEST_F(UpdateEndToEndTest, RealCalendarProgramInstallsTheUpdateOnYes) {
  calendar = ReadBytes(test::WinePath(KELVO_TEST_CALENDAR_PATH));
  ASSERT_FALSE(calendar.empty());
  test::WriteBytes(folder + "\\KelvoCalendar.exe", calendar);
  EXPECT_EQ(RunCalendar(QuestionBoxWatcher::Answer::Yes), 0u);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"发现有新版本，是否现在更新？");
  ASSERT_TRUE(test::WaitForFile(folder + "\\payload-started.txt", 30000));
  EXPECT_EQ(ReadBytes(folder + "\\payload-started.txt"), "del " + folder + "\\KelvoCalendar.exe");
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), payload);
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.exe"), calendar);
  EXPECT_EQ(FolderNames(folder), (std::set<std::string>{"KelvoCalendar.exe", "KelvoCalendar2.exe",
                                                        "notes.txt", "payload-started.txt"}));
  EXPECT_TRUE(server::WasRequested("/myapp/KelvoCalendar/GGList.txt"));
  EXPECT_EQ(StoredDate(), ShortDate(test::Today()));
}

TEST_F(UpdateEndToEndTest, NoStoresTheDateAndTheNextRunDoesNotAsk) {
  EXPECT_EQ(RunCalendar(QuestionBoxWatcher::Answer::No), 3u)
      << ReadBytes(folder + "\\host-log.txt");
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(StoredDate(), ShortDate(test::Today()));
  EXPECT_EQ(RunCalendar(QuestionBoxWatcher::Answer::No), 3u);
  EXPECT_TRUE(boxes.empty()) << "asked again within 15 days";
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.bak"), "the previous version");
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe"));
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe.td"));
  EXPECT_EQ(ReadBytes(folder + "\\host-log.txt"), "start\nno update\nend\nstart\nno update\nend\n");
}

}  // namespace
}  // namespace kelvo
