#pragma once
#include <windows.h>

#include <utility>

namespace kelvo {

// Move-only owners of GDI handles: each gives its handle back exactly once.

// Pens, brushes, fonts, bitmaps, regions: released with DeleteObject.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : m_handle(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
  }

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (m_handle) DeleteObject(m_handle);
    m_handle = handle;
  }

 private:
  Handle m_handle = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

// A memory device context (CreateCompatibleDC), released with DeleteDC.
class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (m_dc) DeleteDC(m_dc);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  MemoryDc(MemoryDc&& other) noexcept : m_dc(std::exchange(other.m_dc, nullptr)) {}
  MemoryDc& operator=(MemoryDc&& other) noexcept {
    if (this != &other) {
      if (m_dc) DeleteDC(m_dc);
      m_dc = std::exchange(other.m_dc, nullptr);
    }
    return *this;
  }

  HDC Get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

 private:
  HDC m_dc = nullptr;
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
