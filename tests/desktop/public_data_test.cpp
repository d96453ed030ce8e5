// The window hook, exercised on real windows: the trampoline really runs.
#include "desktop/win32/public_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace kelvo {
namespace {

enum : UINT { kProbe = WM_APP + 1, kAnswerHere, kUnhook, kUnhookAndDestroy, kReenter };
std::string g_log;  // "<who> <message> <wParam> <lParam> <calls running>;" per call

void Log(const char* who, UINT uMsg, WPARAM wParam, LPARAM lParam, int calls) {
  char entry[96];
  std::snprintf(entry, sizeof entry, "%s %u %llx %llx %d;", who, uMsg - WM_APP,
                static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam),
                calls);
  g_log += entry;
}

// The window's own procedure, which the hook puts behind itself.
LRESULT CALLBACK PreviousProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg < WM_APP) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
  Log("previous", uMsg, wParam, lParam, 0);
  return 0x5A00 + (uMsg - WM_APP);
}

struct TestTarget : SubclassTarget {
  LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    // Inside a function that makes calls the compiler keeps the stack on a
    // 16-byte boundary, counting on its caller to have done so.
    uintptr_t stack = 0;
#if defined(__x86_64__)
    asm volatile("mov %%rsp, %0" : "=r"(stack));
#endif
    misaligned += stack % 16 != 0;
    if (uMsg >= WM_APP) Log("hook", uMsg, wParam, lParam, ActiveCalls());
    if (uMsg == kAnswerHere) return 77;
    if (uMsg == kUnhook || uMsg == kUnhookAndDestroy) UnsubclassWindow(Hook, hWnd);
    if (uMsg == kUnhookAndDestroy) DestroyWindow(hWnd);
    if (uMsg == kReenter && wParam == 0) SendMessageW(hWnd, kReenter, 1, 0);
    return CallWindowProcA(Hook.lpPrevWndProc, hWnd, uMsg, wParam, lParam);
  }
  SubclassData Hook;
  int misaligned = 0;
};

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PreviousProc;
    wc.lpszClassName = L"KelvoHookTestWindow";
    RegisterClassW(&wc);
    hWnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           nullptr, nullptr);
    before = Proc();
    g_log.clear();
  }
  void TearDown() override {
    UnsubclassWindow(target.Hook, hWnd);
    DestroyWindow(hWnd);
  }
  LONG_PTR Proc() const { return GetWindowLongPtrA(hWnd, GWLP_WNDPROC); }
  void Hook() { SubclassWindow(target.Hook, hWnd, &target, SubclassProc); }

  HWND hWnd = nullptr;
  LONG_PTR before = 0;
  TestTarget target;
};

// Sent, posted or re-entered, a message reaches WindowProc first, then the
// previous procedure with the same arguments, and the answer comes back.
TEST_F(HookTest, MessagesReachWindowProcFirstThenThePreviousProcedure) {
  Hook();
  Hook();  // a second hook on the same record keeps the first
  EXPECT_EQ(Proc(), reinterpret_cast<LONG_PTR>(target.Hook.lpThunk));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(target.Hook.lpPrevWndProc), before);
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(target.Hook.lpThunk, &info, sizeof info), 0u);
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));

  EXPECT_EQ(SendMessageW(hWnd, kProbe, 0x123456789ABCDEF0ull, 0x0FEDCBA987654321ll), 0x5A01);
  PostMessageW(hWnd, kProbe, 3, 4);
  MSG msg;
  while (PeekMessageW(&msg, hWnd, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(SendMessageW(hWnd, kAnswerHere, 0, 0), 77);
  SendMessageW(hWnd, kReenter, 0, 0);
  EXPECT_EQ(
      g_log,
      "hook 1 123456789abcdef0 fedcba987654321 1;previous 1 123456789abcdef0 fedcba987654321 0;"
      "hook 1 3 4 1;previous 1 3 4 0;hook 2 0 0 1;"
      "hook 5 0 0 1;hook 5 1 0 2;previous 5 1 0 0;previous 5 0 0 0;");
  EXPECT_EQ(target.ActiveCalls(), 0);
  EXPECT_EQ(target.misaligned, 0);

  SetWindowTextW(hWnd, L"Kelvo\u65E5\u5386");  // through the hook's CallWindowProcA
  wchar_t text[32] = {};
  GetWindowTextW(hWnd, text, 32);
  EXPECT_STREQ(text, L"Kelvo\u65E5\u5386");
}

// Unhooking restores the procedure once; again, or without a hook, it
// leaves whatever procedure the window has. A record that goes while
// hooked unhooks.
TEST_F(HookTest, UnhookingTwiceRestoresOnceThenDoesNothing) {
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(Proc(), before);
  Hook();
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(Proc(), before);
  EXPECT_EQ(target.Hook.lpThunk, nullptr);
  SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
  const LONG_PTR other = Proc();
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(Proc(), other);
  SetWindowLongPtrW(hWnd, GWLP_WNDPROC, before);
  {
    TestTarget other;
    SubclassWindow(other.Hook, hWnd, &other, SubclassProc);
  }
  EXPECT_EQ(SendMessageW(hWnd, kProbe, 1, 2), 0x5A01);
  EXPECT_EQ(g_log, "previous 1 1 2 0;");
}

// WindowProc may unhook, and destroy, its own window and still pass on.
TEST_F(HookTest, UnhookingAndDestroyingFromInsideStillPassesTheMessageOn) {
  Hook();
  EXPECT_EQ(SendMessageW(hWnd, kUnhook, 5, 6), 0x5A03);
  EXPECT_EQ(target.Hook.lpThunk, nullptr);
  SendMessageW(hWnd, kProbe, 0, 0);
  Hook();
  EXPECT_EQ(SendMessageW(hWnd, kUnhookAndDestroy, 0, 0), 0x5A04);
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(g_log, "hook 3 5 6 1;previous 3 5 6 0;previous 1 0 0 0;hook 4 0 0 1;previous 4 0 0 0;");
}

#if defined(__x86_64__)
LRESULT CALLBACK ThrowingHandler(SubclassTarget*, HWND, UINT, WPARAM, LPARAM) {
  throw std::runtime_error("through the trampoline");
}

// The system finds the trampoline's unwind data.
TEST(X64Trampoline, ExceptionUnwindsThroughIt) {
  SubclassData record;
  BuildThunk(record, nullptr, ThrowingHandler);
  ASSERT_NE(record.lpThunk, nullptr);
  EXPECT_THROW(reinterpret_cast<WNDPROC>(record.lpThunk)(nullptr, 0, 0, 0), std::runtime_error);
}
#endif

}  // namespace
}  // namespace kelvo
