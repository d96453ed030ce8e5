// The real program under Wine, the loopback server answering as its HTTP
// proxy for its own server host: the announcement list on the face, the
// network timer's schedule, the update question and the whole update. The
// face is read from the screen.
#include "tests/update/win32/calendar_process.h"

namespace kelvo {
namespace {

// Published within 15 s, the list stops the timer: no retry, no update check.
TEST_F(CalendarEndToEndTest, ListDeliveredAfterThreeSecondsShowsOnTheFace) {
  Serve("list.txt", kListBytes);
  Serve("_routes", std::string(kList) + " /_/delay/3/list.txt\n");
  Serve(kManifest, "Version:1.0.1\r\n");
  Start(IDNO);
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
  Start(IDNO);
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

// A list that stalls after 12 bytes and closes: the face answers clicks
// before and after the retry and shows no partial list. A stored date that
// is no date asks; No stores today's date, and the second check that Timer1
// ticks into while the question is open does not ask again.
TEST_F(CalendarEndToEndTest, StalledListLeavesTheFaceResponsiveAndNoIsAskedOnce) {
  Serve("list.txt", kListBytes);
  Serve("_routes", std::string(kList) + " /_/short/12/10/list.txt\n");
  Serve(kManifest, "Version:1.0.1\r\ndown|http://h/x.exe|apppath:\r\nrun|apppath:x.exe\r\n");
  RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "NoUpdateDate", REG_SZ, "not a date", 11);
  Start(IDNO);
  Sleep(2000);
  EXPECT_TRUE(NextMonthAnswers()) << "while the list stalls";
  ASSERT_TRUE(WaitFor([this] { return !watcher->Seen().empty(); }, 20000));
  EXPECT_GT(Since(), 15000u);
  EXPECT_TRUE(WaitFor([] { return TimesRequested(kList) >= 2; }, 5000));
  EXPECT_TRUE(Running());
  EXPECT_FALSE(LinksShown());
  EXPECT_TRUE(NextMonthAnswers()) << "after the retry";
  EXPECT_EQ(watcher->Seen(),
            std::vector<std::wstring>{L"提示|发现有新版本，是否现在更新？|Yes No "});
  EXPECT_EQ(StoredDate(), Today());
}

// Yes: the new program is downloaded, renamed into place and started with
// "del <old program>"; the calendar's process ends; no other file is lost.
TEST_F(CalendarEndToEndTest, YesInstallsAndStartsTheNewProgramAndEndsTheOld) {
  const std::string payload = ReadBytes("Z:" KELVO_TEST_PAYLOAD_PATH);
  WriteBytes(folder + "\\KelvoCalendar.bak", "the previous version");
  WriteBytes(folder + "\\notes.txt", "the user's notes");
  Serve("files/KelvoCalendar2.exe", payload);
  Serve(kManifest,
        "Version:1.0.1\r\ndown|" + ServerUrl("/files/KelvoCalendar2.exe") +
            "|apppath:\r\ndel|apppath:KelvoCalendar.bak\r\nrun|apppath:KelvoCalendar2.exe\r\n");
  Start(IDYES);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(watcher->Seen().size(), 1u) << "no stored date: asks";
  ASSERT_TRUE(
      WaitFor([&] { return std::filesystem::exists(folder + "\\payload-started.txt"); }, 30000));
  EXPECT_EQ(ReadBytes(folder + "\\payload-started.txt"), "del " + folder + "\\KelvoCalendar.exe");
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), payload);
  EXPECT_EQ(ReadBytes(folder + "\\notes.txt"), "the user's notes");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"KelvoCalendar.exe", "KelvoCalendar2.exe", "notes.txt",
                                          "payload-started.txt"}));
  EXPECT_EQ(StoredDate(), Today());
}

// A server that never answers: the face answers at once throughout the
// waiting update check, and exit ends the program during it.
TEST_F(CalendarEndToEndTest, StalledServerNeverFreezesTheFace) {
  Serve("x.txt", "x");
  Serve("_routes",
        std::string(kList) + " /_/delay/120/x.txt\n" + kManifest + " /_/delay/120/x.txt\n");
  Start(IDNO);
  const HWND face = FindWindowW(L"KelvoCalendarWnd", nullptr);
  DWORD worst = 0;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 25000; Sleep(20)) {
    const DWORD asked = GetTickCount();
    SendMessageTimeoutW(face, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    worst = std::max<DWORD>(worst, GetTickCount() - asked);
  }
  EXPECT_GE(TimesRequested(kManifest), 1) << "the check is waiting";
  std::printf("[ figure ] worst answer time during a stalled check: %lu ms\n", worst);
  EXPECT_LT(worst, 1000u);
  DWORD took = 0;
  EXPECT_TRUE(Exit(&took));
  std::printf("[ figure ] exit during the waiting check: %lu ms\n", took);
}

// Yes, then the payload is missing: the del line after the down never runs
// and the calendar comes back in the same process.
TEST_F(CalendarEndToEndTest, MissingPayloadAfterYesBringsTheCalendarBack) {
  WriteBytes(folder + "\\KelvoCalendar.bak", "the previous version");
  Serve(kManifest,
        "Version:1.0.1\r\ndown|" + ServerUrl("/missing/KelvoCalendar2.exe") +
            "|apppath:\r\ndel|apppath:KelvoCalendar.bak\r\nrun|apppath:KelvoCalendar2.exe\r\n");
  Start(IDYES);
  const HWND first = FindWindowW(L"KelvoCalendarWnd", nullptr);
  ASSERT_TRUE(WaitFor([this] { return !watcher->Seen().empty(); }, 30000));
  // Timed from the question's end: under Xvfb without a window manager
  // Wine waits a second for every top-level window it hides.
  ASSERT_TRUE(WaitFor([] { return !FindWindowW(L"#32770", nullptr); }, 5000));
  const DWORD answered = GetTickCount();
  EXPECT_TRUE(WaitFor(
      [&] {
        const HWND now = FindWindowW(L"KelvoCalendarWnd", nullptr);
        return now && now != first && IsWindowVisible(now);
      },
      5000));
  std::printf("[ figure ] calendar back %lu ms after the question\n", GetTickCount() - answered);
  EXPECT_TRUE(Running());
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.bak"), "the previous version");
  EXPECT_FALSE(std::filesystem::exists(folder + "\\KelvoCalendar2.exe.td"));
}

}  // namespace
}  // namespace kelvo
