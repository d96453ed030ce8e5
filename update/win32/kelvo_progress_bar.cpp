#include "update/win32/kelvo_progress_bar.h"

#include "window/face_scale.h"

namespace kelvo {
namespace {

ATOM RegisterBarClass(HINSTANCE instance, WNDPROC procedure) {
  static ATOM atom = 0;
  if (atom) return atom;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = KelvoProgressBar::ClassName;
  atom = RegisterClassExW(&wc);
  return atom;
}

}  // namespace

KelvoProgressBar::~KelvoProgressBar() {
  if (m_hWnd) {
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
  }
  ReleaseBacking();
}

bool KelvoProgressBar::Create(HWND hWndParent, int x, int y, int width, int height, int id,
                              int dpi) {
  if (m_hWnd) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterBarClass(instance, &KelvoProgressBar::WindowProc);
  m_range = ProgressRange{};
  m_dpi = ClampDpi(dpi);
  LoadSkin();
  // WM_NCCREATE ties the window to this object, so the sizing messages of
  // the creation itself already reach OnResize.
  CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height,
                  hWndParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  if (!m_hWnd) return false;
  RECT client;
  GetClientRect(m_hWnd, &client);
  OnResize(client.right, client.bottom);
  return true;
}

void KelvoProgressBar::LoadSkin() {
  m_skinScale = PictureScaleFor(m_dpi);
  m_Skin.Reset(LoadBitmapW(GetModuleHandleW(nullptr),
                           MAKEINTRESOURCEW(ScaledPictureId(SkinResourceId, m_skinScale))));
}

int KelvoProgressBar::BarHeight() const {
  return ScaleLength(kBarHeight, m_dpi);
}

void KelvoProgressBar::SetDpi(int dpi) {
  m_dpi = ClampDpi(dpi);
  LoadSkin();
  if (!m_hWnd) return;
  RECT client;
  GetClientRect(m_hWnd, &client);
  OnResize(client.right, client.bottom);
}

void KelvoProgressBar::SetMin(int32_t New_Min) {
  if (m_range.SetMin(New_Min)) DrawBar();
}

void KelvoProgressBar::SetMax(int32_t New_Max) {
  if (m_range.SetMax(New_Max)) DrawBar();
}

void KelvoProgressBar::SetValue(int32_t New_Value) {
  if (m_range.SetValue(New_Value)) DrawBar();
}

void KelvoProgressBar::DrawBar() {
  if (!m_backingDc || !m_hWnd) return;
  // A missing skin leaves the copies failing one by one, as any drawing
  // failure does; the remaining steps still run.
  MemoryDc skinDc(m_backingDc.Get());
  Selection skin(skinDc.Get(), m_Skin.Get());
  SetStretchBltMode(m_backingDc.Get(),
                    m_skinScale * BaseDpi > m_dpi * 100 ? HALFTONE : COLORONCOLOR);
  SetBrushOrgEx(m_backingDc.Get(), 0, 0, nullptr);
  // The copies are laid out in units and scaled edge by edge; the bar's
  // right end lands on its last pixel.
  const int units = MulDiv(m_width, BaseDpi, m_dpi);
  const int skinHeight = ScalePictureLength(kBarHeight, m_skinScale);
  for (const SkinCopy& copy : BarCopies(units, m_range)) {
    const int x = ScaleLength(copy.DestX, m_dpi);
    const int end = copy.DestX + copy.DestWidth == units
                        ? m_width
                        : ScaleLength(copy.DestX + copy.DestWidth, m_dpi);
    const int sx = ScalePictureLength(copy.SourceX, m_skinScale);
    const int sw = ScalePictureLength(copy.SourceX + copy.SourceWidth, m_skinScale) - sx;
    StretchBlt(m_backingDc.Get(), x, 0, end - x, m_height, skinDc.Get(), sx, 0, sw, skinHeight,
               SRCCOPY);
  }
  InvalidateRect(m_hWnd, nullptr, FALSE);
}

void KelvoProgressBar::OnResize(int width, int height) {
  if (m_resizing) return;
  const int barHeight = BarHeight();
  const int corner = ScaleLength(2, m_dpi);
  // The window owns the region from here on.
  SetWindowRgn(m_hWnd, CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner), TRUE);
  if (height != barHeight) {
    m_resizing = true;
    SetWindowPos(m_hWnd, nullptr, 0, 0, width, barHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_resizing = false;
    SetWindowRgn(m_hWnd, CreateRoundRectRgn(0, 0, width + 1, barHeight + 1, corner, corner), TRUE);
  }
  if (width != m_width || barHeight != m_height || !m_backingDc) {
    ReleaseBacking();
    HDC screen = GetDC(m_hWnd);
    m_backingDc = MemoryDc(screen);
    m_backing.Reset(CreateCompatibleBitmap(screen, width > 0 ? width : 1, barHeight));
    ReleaseDC(m_hWnd, screen);
    m_backingPrevious = SelectObject(m_backingDc.Get(), m_backing.Get());
    m_width = width;
  }
  m_height = barHeight;
  DrawBar();
}

void KelvoProgressBar::OnPaint() {
  PaintScope paint(m_hWnd);
  if (m_backingDc) BitBlt(paint.Dc(), 0, 0, m_width, m_height, m_backingDc.Get(), 0, 0, SRCCOPY);
}

void KelvoProgressBar::ReleaseBacking() {
  if (m_backingDc && m_backingPrevious) SelectObject(m_backingDc.Get(), m_backingPrevious);
  m_backingPrevious = nullptr;
  m_backingDc = MemoryDc();
  m_backing.Reset();
}

LRESULT CALLBACK KelvoProgressBar::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_NCCREATE) {
    auto* created =
        static_cast<KelvoProgressBar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    created->m_hWnd = hWnd;
  }
  auto* bar = reinterpret_cast<KelvoProgressBar*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  if (bar) {
    switch (uMsg) {
      case WM_SIZE:
        bar->OnResize(LOWORD(lParam), HIWORD(lParam));
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        bar->OnPaint();
        return 0;
      case WM_NCDESTROY:
        bar->m_hWnd = nullptr;
        bar->ReleaseBacking();
        bar->m_Skin.Reset();
        break;
    }
  }
  return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace kelvo
