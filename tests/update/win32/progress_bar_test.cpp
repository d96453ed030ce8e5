// KelvoProgressBar as a real child window under Wine: size, region, skin
// drawing and a drawing that survives being covered.
#include "update/win32/kelvo_progress_bar.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace kelvo {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The layout of a top-down 32-bit image of width x height.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return info;
}

// The pixels of a window's client area as the screen shows them.
class Capture {
 public:
  explicit Capture(HWND hWnd) {
    RECT client;
    GetClientRect(hWnd, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    HDC screen = GetDC(hWnd);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    pixels.assign(static_cast<const uint32_t*>(bits),
                  static_cast<const uint32_t*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(hWnd, screen);
  }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Pixels of bitmap 103 as the program's resources hold it.
class Skin {
 public:
  Skin() {
    HBITMAP skin = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(103));
    if (!skin) return;
    BITMAP bm;
    GetObjectW(skin, sizeof bm, &bm);
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO info = TopDown32(width, height);
    pixels.resize(static_cast<size_t>(width * height));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, skin, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(skin);
  }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

class ProgressBarTest : public ::testing::Test {
 protected:
  // One host window for all cases: every top-level window costs Wine a
  // round trip to the X server.
  static void SetUpTestSuite() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"KelvoProgressBarTestHost";
    RegisterClassW(&wc);
    parent = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE, 100,
                             100, 305, 102, nullptr, nullptr, wc.hInstance, nullptr);
    Pump();
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent);
    Pump();
  }
  void SetUp() override {
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(bar.Create(parent, 16, 56, 273, 14));
    Pump();
  }

  // Shows the bar's current drawing on screen and reads it back.
  Capture Screen() {
    RedrawWindow(parent, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    return Capture(bar.Handle());
  }

  static inline HWND parent = nullptr;
  KelvoProgressBar bar;
  Skin skin;
};

TEST_F(ProgressBarTest, NewBarRunsFromZeroToHundredWithTheProgramsSkin) {
  EXPECT_EQ(skin.width, 69);
  EXPECT_EQ(skin.height, 14);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Value(), 0);
}

TEST_F(ProgressBarTest, HeightIsFixedAt14WhateverIsAsked) {
  RECT client;
  GetClientRect(bar.Handle(), &client);
  EXPECT_EQ(client.right, 273);
  EXPECT_EQ(client.bottom, 14);
  SetWindowPos(bar.Handle(), nullptr, 0, 0, 200, 40, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(bar.Handle(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 14);
  // Also when created taller.
  KelvoProgressBar tall;
  ASSERT_TRUE(tall.Create(parent, 0, 0, 120, 50));
  GetClientRect(tall.Handle(), &client);
  EXPECT_EQ(client.right, 120);
  EXPECT_EQ(client.bottom, 14);
}

TEST_F(ProgressBarTest, WindowHasARoundedRegion) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(bar.Handle(), region), ERROR);
  RECT box;
  GetRgnBox(region, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 273);
  EXPECT_EQ(box.bottom, 14);
  EXPECT_TRUE(PtInRegion(region, 136, 7));
  DeleteObject(region);
}

TEST_F(ProgressBarTest, EmptyBarShowsTheTrackOnly) {
  const Capture shot = Screen();
  EXPECT_EQ(shot.At(3, 7), skin.At(3, 7));     // left end
  EXPECT_EQ(shot.At(136, 7), skin.At(10, 7));  // stretched middle
  EXPECT_EQ(shot.At(270, 7), skin.At(19, 7));  // right end
}

TEST_F(ProgressBarTest, FillIs222PixelsFor16384Of20000) {
  bar.SetMax(20000);
  bar.SetValue(16384);
  const Capture shot = Screen();
  EXPECT_EQ(shot.At(1, 7), skin.At(22, 7));
  EXPECT_EQ(shot.At(111, 7), skin.At(45, 7));
  EXPECT_EQ(shot.At(222, 7), skin.At(68, 7));
  EXPECT_EQ(shot.At(223, 7), skin.At(10, 7)) << "the track shows right of the fill";
}

TEST_F(ProgressBarTest, FullBarLeavesTheTrackEdgeAtBothEnds) {
  bar.SetValue(100);
  const Capture shot = Screen();
  EXPECT_EQ(shot.At(0, 7), skin.At(0, 7));
  EXPECT_EQ(shot.At(1, 7), skin.At(22, 7));
  EXPECT_EQ(shot.At(271, 7), skin.At(68, 7));
  EXPECT_EQ(shot.At(272, 7), skin.At(21, 7));
}

TEST_F(ProgressBarTest, SmallerValueRedrawsTheTrackOverTheOldFill) {
  bar.SetValue(100);
  Screen();
  bar.SetValue(10);
  const Capture shot = Screen();
  EXPECT_EQ(shot.At(200, 7), skin.At(10, 7));
}

TEST_F(ProgressBarTest, OutOfRangeValueLeavesTheBarUnchanged) {
  bar.SetValue(50);
  const Capture before = Screen();
  bar.SetValue(101);
  bar.SetValue(-1);
  EXPECT_EQ(bar.Value(), 50);
  const Capture after = Screen();
  EXPECT_EQ(before.pixels, after.pixels);
}

TEST_F(ProgressBarTest, MaxBelowValueLowersValueAndFillsTheBar) {
  bar.SetValue(80);
  bar.SetMax(40);
  EXPECT_EQ(bar.Value(), 40);
  const Capture shot = Screen();
  EXPECT_EQ(shot.At(271, 7), skin.At(68, 7));
}

TEST_F(ProgressBarTest, IgnoredSettersKeepTheRange) {
  bar.SetMax(0);
  bar.SetMin(-1);
  bar.SetMin(100);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  bar.SetValue(30);
  bar.SetMin(50);
  EXPECT_EQ(bar.Min(), 50);
  EXPECT_EQ(bar.Value(), 50);
}

TEST_F(ProgressBarTest, DrawingSurvivesBeingCoveredAndUncovered) {
  bar.SetMax(20000);
  bar.SetValue(16384);
  const Capture before = Screen();
  HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 90, 90, 400,
                               200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(cover, nullptr);
  Pump();
  Sleep(50);
  Pump();
  DestroyWindow(cover);
  Pump();
  // Whatever the system invalidated, the bar paints itself from its image.
  const Capture after = Screen();
  EXPECT_EQ(before.pixels, after.pixels);
  EXPECT_EQ(after.At(111, 7), skin.At(45, 7));
}

TEST_F(ProgressBarTest, DestroyedWithItsParentWithoutFault) {
  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  KelvoProgressBar child;
  ASSERT_TRUE(child.Create(frame, 0, 0, 50, 14));
  DestroyWindow(frame);
  EXPECT_EQ(child.Handle(), nullptr);
  child.SetValue(10);  // no window: nothing to draw, no fault
  EXPECT_EQ(child.Value(), 10);
}

}  // namespace
}  // namespace kelvo
