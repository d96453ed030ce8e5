// UpdateFrm and its script against the loopback server, under Wine.
#include "update/win32/update_frm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "desktop/win32/platform_text.h"
#include "tests/support/test_server.h"
#include "tests/support/win32_files.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::Exists;
using test::ReadBytes;

// Every text Label1 is given while a test runs.
std::vector<std::wstring> g_labelTexts;
HWND g_label = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK RecordLabelText(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_SETTEXT && call->hwnd == g_label && call->lParam) {
    g_labelTexts.push_back(reinterpret_cast<const wchar_t*>(call->lParam));
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

std::string PayloadProgram() {
  return ReadBytes(test::WinePath(KELVO_TEST_PAYLOAD_PATH));
}

// The test program's own folder (AppDir) and name.
std::string OwnFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

class UpdateFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server";
    folder = test::NewFolder("kelvo-frm");
    form.Show();
    g_label = form.Label1();
    g_labelTexts.clear();
    g_hook = SetWindowsHookExW(WH_CALLWNDPROC, &RecordLabelText, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(g_hook);
    g_label = nullptr;
    test::DrainMessages();
    test::RemoveFolder(folder);
  }

  std::wstring LabelText() {
    wchar_t text[256] = {};
    GetWindowTextW(form.Label1(), text, 256);
    return text;
  }

  RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  static bool QuitWasPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  }

  std::string folder;
  UpdateFrm form;
};

TEST_F(UpdateFrmTest, FormIsAFixedCentredDialogCalledUpdate) {
  HWND h = form.Handle();
  ASSERT_NE(h, nullptr);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 305);
  EXPECT_EQ(client.bottom, 102);
  wchar_t caption[64] = {};
  GetWindowTextW(h, caption, 64);
  EXPECT_STREQ(caption, L"更新");
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
  EXPECT_NE(style & WS_CAPTION, 0);
  RECT frame;
  GetWindowRect(h, &frame);
  EXPECT_LE(std::abs((frame.left + frame.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
  EXPECT_TRUE(IsWindowVisible(h));
}

TEST_F(UpdateFrmTest, FormHasNoCloseCommand) {
  HMENU menu = GetSystemMenu(form.Handle(), FALSE);
  EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(UpdateFrmTest, LabelAndBarSitWhereTheFormPutsThem) {
  const RECT label = ChildRect(form.Label1());
  EXPECT_EQ(label.left, 16);
  EXPECT_EQ(label.top, 32);
  EXPECT_EQ(label.right - label.left, 273);
  EXPECT_EQ(label.bottom - label.top, 17);
  const RECT bar = ChildRect(form.KelvoProgressBar1().Handle());
  EXPECT_EQ(bar.left, 16);
  EXPECT_EQ(bar.top, 56);
  EXPECT_EQ(bar.right - bar.left, 273);
  EXPECT_EQ(bar.bottom - bar.top, 14);
  EXPECT_EQ(LabelText(), L"正在下载更新文件...");
  EXPECT_EQ(form.KelvoProgressBar1().Min(), 0);
  EXPECT_EQ(form.KelvoProgressBar1().Max(), 100);
  EXPECT_EQ(form.KelvoProgressBar1().Value(), 0);
}

TEST_F(UpdateFrmTest, DownLineFetchesIntoTdWithProgress) {
  form.UpdateFile("Version:1.0.1\r\ndown|" + server::Url("/_/ok/20000") + "|" + folder + "\r\n");
  EXPECT_EQ(ReadBytes(folder + "\\20000.td"), server::Pattern(20000));
  EXPECT_EQ(g_labelTexts,
            (std::vector<std::wstring>{L"正在下载更新文件...41%", L"正在下载更新文件...82%",
                                       L"正在下载更新文件...100%"}));
  EXPECT_EQ(form.KelvoProgressBar1().Max(), 20000);
  EXPECT_EQ(form.KelvoProgressBar1().Value(), 20000);
  EXPECT_TRUE(IsWindow(form.Handle())) << "a script without a run line leaves the form open";
}

TEST_F(UpdateFrmTest, ExistingTdIsReplaced) {
  test::WriteBytes(folder + "\\100.td", std::string(5000, 'x'));
  form.UpdateFile("v\r\ndown|" + server::Url("/_/ok/100") + "|" + folder + "\\");
  EXPECT_EQ(ReadBytes(folder + "\\100.td"), server::Pattern(100));
}

TEST_F(UpdateFrmTest, SecondFileMovesTheBarToItsOwnLength) {
  form.UpdateFile("v\r\ndown|" + server::Url("/_/ok/20000") + "|" + folder + "\r\ndown|" +
                  server::Url("/_/ok/300") + "|" + folder + "\r\n");
  EXPECT_TRUE(Exists(folder + "\\20000.td"));
  EXPECT_TRUE(Exists(folder + "\\300.td"));
  EXPECT_EQ(form.KelvoProgressBar1().Max(), 300);
  EXPECT_EQ(form.KelvoProgressBar1().Value(), 300);
  EXPECT_EQ(g_labelTexts.back(), L"正在下载更新文件...100%");
}

TEST_F(UpdateFrmTest, DelLineDeletesAndIgnoresMissingFiles) {
  test::WriteBytes(folder + "\\old.bak", "old");
  test::WriteBytes(folder + "\\other.txt", "other");
  form.UpdateFile("v\r\ndel|" + folder + "\\missing.bak\r\ndel|" + folder + "\\old.bak");
  EXPECT_FALSE(Exists(folder + "\\old.bak"));
  EXPECT_EQ(ReadBytes(folder + "\\other.txt"), "other");
}

TEST_F(UpdateFrmTest, AppPathMarkerNamesTheProgramsFolder) {
  const std::string probe = OwnFolder() + "kelvo-frm-probe.txt";
  test::WriteBytes(probe, "x");
  form.UpdateFile("v\r\nDEL|AppPath:kelvo-frm-probe.txt");
  EXPECT_FALSE(Exists(probe));
  EXPECT_EQ(form.AppDir(), OwnFolder());
}

TEST_F(UpdateFrmTest, RunLineRenamesStartsWithDelParameterAndCloses) {
  server::Serve("files/KelvoCalendar2.exe", PayloadProgram());
  const std::string program = folder + "\\KelvoCalendar2.exe";
  form.UpdateFile("Version:1.0.1\r\ndown|" + server::Url("/files/KelvoCalendar2.exe") + "|" +
                  folder + "\r\nRun|" + program + "\r\n");
  EXPECT_EQ(ReadBytes(program), PayloadProgram());
  EXPECT_FALSE(Exists(program + ".td"));
  EXPECT_FALSE(IsWindow(form.Handle()));
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_TRUE(QuitWasPosted()) << "the form was the program's last window";
  ASSERT_TRUE(test::WaitForFile(folder + "\\payload-started.txt", 20000));
  EXPECT_EQ(ReadBytes(folder + "\\payload-started.txt"),
            "del " + OwnFolder() + "update_frm_test.exe");
}

TEST_F(UpdateFrmTest, RunLineKeepsAnExistingProgramAndStartsIt) {
  const std::string program = folder + "\\KelvoCalendar2.exe";
  test::WriteBytes(program, PayloadProgram());
  test::WriteBytes(program + ".td", "not a program");
  form.UpdateFile("v\r\nrun|" + program);
  EXPECT_EQ(ReadBytes(program), PayloadProgram());
  EXPECT_EQ(ReadBytes(program + ".td"), "not a program");
  ASSERT_TRUE(test::WaitForFile(folder + "\\payload-started.txt", 20000));
}

TEST_F(UpdateFrmTest, UnknownAndShortLinesDoNothing) {
  test::WriteBytes(folder + "\\keep.txt", "keep");
  form.UpdateFile("v\r\n\r\ncopy|a|b\r\ndown|" + server::Url("/_/ok/123") + "\r\ndel\r\nrun\r\n");
  EXPECT_EQ(ReadBytes(folder + "\\keep.txt"), "keep");
  EXPECT_TRUE(IsWindow(form.Handle()));
  EXPECT_FALSE(server::WasRequested("/_/ok/123"));
}

}  // namespace
}  // namespace kelvo
