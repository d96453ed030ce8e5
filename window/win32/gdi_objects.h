#pragma once
#include <windows.h>

#include <utility>

#include "desktop/win32/unique_handle.h"

namespace kelvo {

// Move-only owners of GDI handles: each gives its handle back exactly once.

// Pens, brushes, fonts, bitmaps, regions: released with DeleteObject.
template <typename Handle>
using GdiObject = UniqueHandle<Handle, DeleteObject>;

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

// A memory device context (CreateCompatibleDC), released with DeleteDC.
class MemoryDc : public UniqueHandle<HDC, DeleteDC> {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC compatibleWith) : UniqueHandle(CreateCompatibleDC(compatibleWith)) {}
};

// An object selected into a DC for one scope; the previous one is selected
// back at the end, so the DC never keeps a handle that is about to be freed.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  ~Selection() {
    if (m_dc && m_previous) SelectObject(m_dc, m_previous);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  Selection(Selection&& other) noexcept
      : m_dc(std::exchange(other.m_dc, nullptr)),
        m_previous(std::exchange(other.m_previous, nullptr)) {}
  Selection& operator=(Selection&& other) noexcept {
    if (this != &other) {
      if (m_dc && m_previous) SelectObject(m_dc, m_previous);
      m_dc = std::exchange(other.m_dc, nullptr);
      m_previous = std::exchange(other.m_previous, nullptr);
    }
    return *this;
  }

 private:
  HDC m_dc = nullptr;
  HGDIOBJ m_previous = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND hWnd) : m_hWnd(hWnd) { m_dc = BeginPaint(hWnd, &m_paint); }
  ~PaintScope() { EndPaint(m_hWnd, &m_paint); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC Dc() const { return m_dc; }
  const RECT& Area() const { return m_paint.rcPaint; }

 private:
  HWND m_hWnd;
  PAINTSTRUCT m_paint{};
  HDC m_dc = nullptr;
};

}  // namespace kelvo
