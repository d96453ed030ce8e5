#pragma once
#include <windows.h>

#include <cstdint>

#include "update/progress_bar_model.h"
#include "window/win32/gdi_objects.h"

namespace kelvo {

// A skinned progress bar: a green glossy fill in a grey rounded track, both
// cut from bitmap 103 (at the scale nearest the DPI). A child window 14
// units high, a unit being a pixel at 96 DPI. It draws into a
// backing image whenever its size or a property changes and shows that
// image on every paint, so its drawing survives being covered.
class KelvoProgressBar {
 public:
  static constexpr const wchar_t* ClassName = L"KelvoProgressBar";
  static constexpr int SkinResourceId = 103;

  KelvoProgressBar() = default;
  ~KelvoProgressBar();
  KelvoProgressBar(const KelvoProgressBar&) = delete;
  KelvoProgressBar& operator=(const KelvoProgressBar&) = delete;

  // Places a new bar (Min 0, Max 100, Value 0) in hWndParent, in pixels;
  // the height is forced to 14 units whatever is asked. The skin comes
  // from the program's own resources.
  bool Create(HWND hWndParent, int x, int y, int width, int height, int id = 0, int dpi = 96);
  // Takes the skin and the height of another DPI and redraws.
  void SetDpi(int dpi);
  HWND Handle() const { return m_hWnd; }

  int32_t Min() const { return m_range.m_Min; }
  int32_t Max() const { return m_range.m_Max; }
  int32_t Value() const { return m_range.m_Value; }
  // Each is ignored unless it keeps 0 <= Min < Max and Min <= Value <= Max.
  void SetMin(int32_t New_Min);
  void SetMax(int32_t New_Max);
  void SetValue(int32_t New_Value);

  // Draws track and fill into the backing image and shows it.
  void DrawBar();

 private:
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  void OnResize(int width, int height);
  void OnPaint();
  void ReleaseBacking();
  void LoadSkin();
  int BarHeight() const;

  HWND m_hWnd = nullptr;
  ProgressRange m_range;
  Bitmap m_Skin;
  // The persistent picture of the bar, as wide as the control.
  MemoryDc m_backingDc;
  Bitmap m_backing;
  HGDIOBJ m_backingPrevious = nullptr;
  int m_width = 0;
  int m_height = 0;
  int m_dpi = 96;
  int m_skinScale = 100;
  bool m_resizing = false;
};

}  // namespace kelvo
