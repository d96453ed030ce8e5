// The window hook, exercised on real windows: the trampoline really runs.
#include "desktop/win32/public_data.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kelvo {
namespace {

constexpr UINT kProbe = WM_APP + 7;
constexpr UINT kHandledHere = WM_APP + 8;
constexpr UINT kUnhookAndPassOn = WM_APP + 9;
constexpr UINT kReenter = WM_APP + 10;
constexpr UINT kUnhookDestroyAndPassOn = WM_APP + 11;

struct Seen {
  const char* who;
  HWND hWnd;
  UINT uMsg;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

// The window's own procedure, which the hook puts behind itself.
LRESULT CALLBACK PreviousProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg >= WM_APP) {
    Log().push_back({"previous", hWnd, uMsg, wParam, lParam});
    return static_cast<LRESULT>(0x5A5A0000 + (uMsg - WM_APP));
  }
  return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

class TestTarget : public SubclassTarget {
 public:
  LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    // Inside a function that makes calls, the compiler keeps the stack
    // pointer on a 16-byte boundary, counting on its caller to have done so.
    uintptr_t stack = 0;
#if defined(__x86_64__)
    asm volatile("mov %%rsp, %0" : "=r"(stack));
#endif
    if (stack % 16 != 0) ++misalignedCalls;

    if (uMsg >= WM_APP) {
      Log().push_back({"hook", hWnd, uMsg, wParam, lParam});
      callsSeenInside.push_back(ActiveCalls());
    }
    if (uMsg == kHandledHere) return 77;
    if (uMsg == kUnhookAndPassOn) UnsubclassWindow(Hook, hWnd);
    if (uMsg == kUnhookDestroyAndPassOn) {
      UnsubclassWindow(Hook, hWnd);
      DestroyWindow(hWnd);
    }
    if (uMsg == kReenter && wParam == 0) SendMessageW(hWnd, kReenter, 1, 0);
    return CallWindowProcA(Hook.lpPrevWndProc, hWnd, uMsg, wParam, lParam);
  }

  SubclassData Hook;
  std::vector<int> callsSeenInside;
  int misalignedCalls = 0;
};

class HookTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PreviousProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelvoHookTestWindow";
    RegisterClassW(&wc);
  }
  void SetUp() override {
    Log().clear();
    hWnd = CreateWindowExW(0, L"KelvoHookTestWindow", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
  }
  void TearDown() override {
    UnsubclassWindow(target.Hook, hWnd);  // harmless when not hooked
    if (IsWindow(hWnd)) DestroyWindow(hWnd);
  }
  LONG_PTR CurrentProc() const { return GetWindowLongPtrA(hWnd, GWLP_WNDPROC); }
  void HookWindow() { SubclassWindow(target.Hook, hWnd, &target, SubclassProc); }

  HWND hWnd = nullptr;
  TestTarget target;
};

TEST_F(HookTest, HookInstallsTheTrampolineAndRemembersThePreviousProcedure) {
  const LONG_PTR before = CurrentProc();
  HookWindow();
  ASSERT_NE(target.Hook.lpThunk, nullptr);
  EXPECT_EQ(CurrentProc(), reinterpret_cast<LONG_PTR>(target.Hook.lpThunk));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(target.Hook.lpPrevWndProc), before);
}

TEST_F(HookTest, MessageReachesWindowProcFirstThenThePreviousProcedureWithTheSameArguments) {
  HookWindow();
  const WPARAM wParam = static_cast<WPARAM>(0x123456789ABCDEF0ull);
  const LPARAM lParam = static_cast<LPARAM>(0x0FEDCBA987654321ll);
  const LRESULT result = SendMessageW(hWnd, kProbe, wParam, lParam);
  EXPECT_EQ(result, 0x5A5A0007);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_STREQ(Log()[0].who, "hook");
  EXPECT_STREQ(Log()[1].who, "previous");
  for (const Seen& seen : Log()) {
    EXPECT_EQ(seen.hWnd, hWnd);
    EXPECT_EQ(seen.uMsg, kProbe);
    EXPECT_EQ(seen.wParam, wParam);
    EXPECT_EQ(seen.lParam, lParam);
  }
  EXPECT_EQ(target.misalignedCalls, 0);
}

TEST_F(HookTest, PostedMessageTravelsTheSameWay) {
  HookWindow();
  PostMessageW(hWnd, kProbe, 3, 4);
  MSG msg;
  while (PeekMessageW(&msg, hWnd, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_STREQ(Log()[0].who, "hook");
  EXPECT_EQ(Log()[1].wParam, 3u);
  EXPECT_EQ(Log()[1].lParam, 4);
}

TEST_F(HookTest, WindowProcCanAnswerWithoutPassingOn) {
  HookWindow();
  EXPECT_EQ(SendMessageW(hWnd, kHandledHere, 0, 0), 77);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_STREQ(Log()[0].who, "hook");
}

TEST_F(HookTest, UnhookingTwiceRestoresOnceThenDoesNothing) {
  const LONG_PTR before = CurrentProc();
  HookWindow();
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(CurrentProc(), before);
  EXPECT_EQ(target.Hook.lpThunk, nullptr);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(target.Hook.lpPrevWndProc), before);

  // Someone else's procedure installed meanwhile stays put.
  SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
  const LONG_PTR other = CurrentProc();
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(CurrentProc(), other);
}

TEST_F(HookTest, UnhookingWithoutHookIsHarmless) {
  const LONG_PTR before = CurrentProc();
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(CurrentProc(), before);
  EXPECT_EQ(target.Hook.lpPrevWndProc, nullptr);
}

TEST_F(HookTest, AfterUnhookMessagesNoLongerReachWindowProc) {
  HookWindow();
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(SendMessageW(hWnd, kProbe, 1, 2), 0x5A5A0007);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_STREQ(Log()[0].who, "previous");
}

TEST_F(HookTest, UnhookingFromInsideWindowProcStillPassesTheMessageOn) {
  HookWindow();
  EXPECT_EQ(SendMessageW(hWnd, kUnhookAndPassOn, 5, 6), 0x5A5A0009);
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_STREQ(Log()[1].who, "previous");
  EXPECT_EQ(Log()[1].wParam, 5u);
  EXPECT_EQ(target.Hook.lpThunk, nullptr);
  // The next message goes straight to the window's own procedure.
  SendMessageW(hWnd, kProbe, 0, 0);
  ASSERT_EQ(Log().size(), 3u);
  EXPECT_STREQ(Log()[2].who, "previous");
}

TEST_F(HookTest, UnhookingAndDestroyingFromInsideWindowProcStillReturnsSafely) {
  HookWindow();
  EXPECT_EQ(SendMessageW(hWnd, kUnhookDestroyAndPassOn, 0, 0), 0x5A5A000B);
  EXPECT_FALSE(IsWindow(hWnd));
  ASSERT_EQ(Log().size(), 2u);
  EXPECT_STREQ(Log()[1].who, "previous");
}

TEST_F(HookTest, ReenteringCallsAreCountedAndUnwound) {
  HookWindow();
  SendMessageW(hWnd, kReenter, 0, 0);
  EXPECT_EQ(target.callsSeenInside, (std::vector<int>{1, 2}));
  EXPECT_EQ(target.ActiveCalls(), 0);
}

TEST_F(HookTest, HookingAnAlreadyHookedRecordKeepsTheFirstHook) {
  const LONG_PTR before = CurrentProc();
  HookWindow();
  HookWindow();
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(target.Hook.lpPrevWndProc), before);
  EXPECT_EQ(SendMessageW(hWnd, kProbe, 0, 0), 0x5A5A0007);
  EXPECT_EQ(Log().size(), 2u);
  UnsubclassWindow(target.Hook, hWnd);
  EXPECT_EQ(CurrentProc(), before);
}

TEST_F(HookTest, TwoWindowsEachReachTheirOwnObject) {
  HWND second = CreateWindowExW(0, L"KelvoHookTestWindow", L"", WS_POPUP, 0, 0, 50, 50, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  TestTarget first, other;
  SubclassWindow(first.Hook, hWnd, &first, SubclassProc);
  SubclassWindow(other.Hook, second, &other, SubclassProc);
  SendMessageW(hWnd, kProbe, 0, 0);
  SendMessageW(second, kProbe, 0, 0);
  SendMessageW(second, kProbe, 0, 0);
  EXPECT_EQ(first.callsSeenInside.size(), 1u);
  EXPECT_EQ(other.callsSeenInside.size(), 2u);
  UnsubclassWindow(first.Hook, hWnd);
  UnsubclassWindow(other.Hook, second);
  DestroyWindow(second);
}

TEST_F(HookTest, RecordDestroyedWhileHookedGivesTheWindowBackItsProcedure) {
  const LONG_PTR before = CurrentProc();
  {
    TestTarget target;
    SubclassWindow(target.Hook, hWnd, &target, SubclassProc);
  }
  EXPECT_EQ(CurrentProc(), before);
  EXPECT_EQ(SendMessageW(hWnd, kProbe, 0, 0), 0x5A5A0007);
}

TEST_F(HookTest, TrampolineRunsFromExecuteReadMemory) {
  HookWindow();
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(target.Hook.lpThunk, &info, sizeof info), 0u);
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
}

TEST_F(HookTest, CaptionTextSurvivesTheHookedProcedure) {
  HookWindow();
  SetWindowTextW(hWnd, L"Kelvo\u65E5\u5386");
  wchar_t text[32] = {};
  GetWindowTextW(hWnd, text, 32);
  EXPECT_EQ(std::wstring(text), L"Kelvo\u65E5\u5386");
}

#if defined(__x86_64__)
LRESULT CALLBACK ThrowingHandler(SubclassTarget*, HWND, UINT, WPARAM, LPARAM) {
  throw std::runtime_error("through the trampoline");
}

TEST(X64Trampoline, SystemFindsItsUnwindData) {
  SubclassData record;
  BuildThunk(record, nullptr, ThrowingHandler);
  ASSERT_NE(record.lpThunk, nullptr);
  DWORD64 base = 0;
  EXPECT_NE(RtlLookupFunctionEntry(reinterpret_cast<DWORD64>(record.lpThunk), &base, nullptr),
            nullptr);
  EXPECT_EQ(base, reinterpret_cast<DWORD64>(record.lpThunk));
}

TEST(X64Trampoline, ExceptionUnwindsThroughIt) {
  SubclassData record;
  BuildThunk(record, nullptr, ThrowingHandler);
  auto proc = reinterpret_cast<WNDPROC>(record.lpThunk);
  bool caught = false;
  try {
    proc(nullptr, 0, 0, 0);
  } catch (const std::runtime_error&) {
    caught = true;
  }
  EXPECT_TRUE(caught);
}
#endif

}  // namespace
}  // namespace kelvo
