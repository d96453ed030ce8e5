// UpdateFrm, its script and its progress bar against the loopback server,
// under Wine.
#include "update/win32/update_frm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/win32/message_pump.h"
#include "tests/support/wine_testing.h"
#include "update/win32/mod_main.h"

namespace kelvo {
namespace {

using namespace test;

// Every text the label is given while a test runs.
std::vector<std::wstring> g_labelTexts;

LRESULT CALLBACK RecordLabelText(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == 0 && GetParent(call->hwnd))
    g_labelTexts.emplace_back(reinterpret_cast<const wchar_t*>(call->lParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class UpdateFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = NewFolder("kelvo-frm");
    form.Show();
    g_labelTexts.clear();
    hook = SetWindowsHookExW(WH_CALLWNDPROC, &RecordLabelText, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook);
    RemoveFolder(folder);
    MSG msg;  // a run line closed the form and asked the loop to end
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  // Row 7 of the bar as the screen shows it.
  std::vector<uint32_t> BarOnScreen() {
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages();
    HDC dc = GetDC(form.KelvoProgressBar1().Handle());
    std::vector<uint32_t> row = Pixels(dc, 0, 7, 273, 1);
    ReleaseDC(form.KelvoProgressBar1().Handle(), dc);
    return row;
  }

  UpdateFrm form;
  HHOOK hook = nullptr;
  std::string folder;
};

// Each file starts the bar and the percentage again from its own length;
// the user cannot close the form meanwhile.
TEST_F(UpdateFrmTest, DownLinesFetchIntoTdFilesWithProgress) {
  Serve("big.exe", std::string(20000, 'b'));
  Serve("small.dll", std::string(300, 's'));
  form.UpdateFile("Version:1.0.1\r\ndown|" + ServerUrl("/big.exe") + "|" + folder + "\r\ndown|" +
                  ServerUrl("/small.dll") + "|" + folder + "\r\n");
  EXPECT_EQ(ReadBytes(folder + "\\big.exe.td"), std::string(20000, 'b'));
  EXPECT_EQ(ReadBytes(folder + "\\small.dll.td"), std::string(300, 's'));
  EXPECT_EQ(g_labelTexts,
            (std::vector<std::wstring>{L"正在下载更新文件...41%", L"正在下载更新文件...82%",
                                       L"正在下载更新文件...100%", L"正在下载更新文件...100%"}));
  EXPECT_EQ(form.KelvoProgressBar1().Max(), 300);
  EXPECT_EQ(form.KelvoProgressBar1().Value(), 300);
  EXPECT_EQ(GetMenuState(GetSystemMenu(form.Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND), UINT(-1));
  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(form.Handle())) << "a script without a run line leaves the form open";
}

// A disk with room for small files only.
BOOL WINAPI DiskFull(HANDLE file, const void* bytes, DWORD size, DWORD* written) {
  if (size < 100) return WriteFile(file, bytes, size, written, nullptr);
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// Missing, cut short, or on a full disk: the script stops at the failed
// down line (the del after it never runs), every ".td" of the run is gone
// (an older one too), nothing is renamed or started, and the form closes.
TEST_F(UpdateFrmTest, FailedDownStopsTheScriptAndLeavesNothingBehind) {
  Serve("app.exe", std::string(20000, 'p'));
  Serve("first.dll", "whole");
  WriteBytes(folder + "\\notes.txt", "keep me");
  for (const char* path : {"/_/status/404/app.exe", "/_/short/5000/0/app.exe", "/app.exe"}) {
    WriteBytes(folder + "\\app.exe.td", "left from an earlier run");
    MSG quit;  // left by the form of the row before
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    if (std::string(path) == "/app.exe") SetPayloadWriter(&DiskFull);
    UpdateFrm updater;
    updater.Show();
    updater.UpdateFile("v\r\ndown|" + ServerUrl("/first.dll") + "|" + folder + "\r\ndown|" +
                       ServerUrl(path) + "|" + folder + "\r\ndel|" + folder +
                       "\\notes.txt\r\nrun|" + folder + "\\app.exe");
    SetPayloadWriter(nullptr);
    EXPECT_TRUE(updater.Failed()) << path;
    for (const char* name :
         {"\\app.exe.td", "\\app.exe", "\\first.dll.td", "\\payload-started.txt"})
      EXPECT_FALSE(std::filesystem::exists(folder + name)) << path << name;
    EXPECT_FALSE(IsWindow(updater.Handle())) << path;
  }
  EXPECT_EQ(ReadBytes(folder + "\\notes.txt"), "keep me");
}

// A script that deletes a file outside the program's folder is no update:
// no question (none could be answered here), nothing fetched or deleted.
// Which scripts escape is pinned natively by AnswerTrust's table.
TEST_F(UpdateFrmTest, EscapingScriptIsNoUpdate) {
  Serve("new.exe", "new version");
  WriteBytes(folder + "\\victim.txt", "keep");
  Serve("myapp/KelvoCalendar/update.txt", "Version:9.9.9\r\ndown|" + ServerUrl("/new.exe") +
                                              "|apppath:\r\ndel|" + folder +
                                              "\\victim.txt\r\nrun|apppath:new.exe\r\n");
  EXPECT_TRUE(CheckForUpdateOn(ServerUrl("").substr(7), [] { ADD_FAILURE() << "unloaded"; }));
  EXPECT_FALSE(UpdateWasAccepted());
  EXPECT_EQ(TimesRequested("/new.exe"), 0);
  EXPECT_EQ(ReadBytes(folder + "\\victim.txt"), "keep");
}

// Track ends, stretched middle and fill come from bitmap 103; the drawing
// survives being covered and a smaller value shows the track again.
TEST_F(UpdateFrmTest, BarIsDrawnFromTheSkinAndSurvivesBeingCovered) {
  HBITMAP skinBitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(103));
  ASSERT_NE(skinBitmap, nullptr);
  HDC skinDc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(skinDc, skinBitmap);
  const std::vector<uint32_t> skin = Pixels(skinDc, 0, 7, 69, 1);
  SelectObject(skinDc, previous);
  DeleteDC(skinDc);
  DeleteObject(skinBitmap);

  form.KelvoProgressBar1().SetMax(20000);
  form.KelvoProgressBar1().SetValue(16384);  // 222 pixels of fill from x 1
  const std::vector<uint32_t> bar = BarOnScreen();
  const struct {
    int x, skinX;
  } samples[] = {{0, 0}, {1, 22}, {111, 45}, {222, 68}, {223, 10}, {270, 19}, {272, 21}};
  for (const auto& sample : samples) EXPECT_EQ(bar[sample.x], skin[sample.skinX]) << sample.x;

  HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 2000,
                               2000, nullptr, nullptr, nullptr, nullptr);
  PumpPendingMessages();
  Sleep(50);
  DestroyWindow(cover);
  EXPECT_EQ(BarOnScreen(), bar);
  form.KelvoProgressBar1().SetValue(100);
  EXPECT_EQ(BarOnScreen()[111], skin[10]) << "the track is drawn again over the old fill";
}

// On a monitor of another DPI the label's font and the bar follow it.
TEST_F(UpdateFrmTest, DpiChangeScalesTheLabelAndTheBar) {
  RECT suggested{0, 0, 500, 200};
  for (int dpi : {144, 96}) {
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT bar{};
    GetClientRect(form.KelvoProgressBar1().Handle(), &bar);
    EXPECT_EQ(bar.right * 1000 + bar.bottom, dpi == 144 ? 410021 : 273014);
    LOGFONTW font{};
    HWND label = FindWindowExW(form.Handle(), nullptr, L"STATIC", nullptr);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, dpi == 144 ? -18 : -12);
  }
}

}  // namespace
}  // namespace kelvo
