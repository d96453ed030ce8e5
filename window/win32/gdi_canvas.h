#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "window/canvas.h"
#include "window/win32/gdi_objects.h"

namespace kelvo {

// The retained drawing surface of the calendar face: a 32-bit off-screen
// bitmap that keeps everything drawn into it. The window copies it to the
// screen on WM_PAINT; nothing is drawn in answer to a paint request.
// The face draws in 96-DPI units; the surface has the pixels of `dpi` and
// scales every coordinate, line and font it is given, so text is made at
// the full resolution rather than stretched.
class GdiCanvas final : public Canvas {
 public:
  // width and height in face units; throws std::runtime_error without GDI memory.
  GdiCanvas(int width, int height, int dpi = 96);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // The bitmaps StretchCopy reads, drawn at `scale` percent; not owned,
  // they must outlive their use.
  void SetPicture(PictureId picture, HBITMAP bitmap, int scale = 100);

  void Box(int x1, int y1, int x2, int y2, Color outline, int lineWidth, Color fill) override;
  void StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                   int dh) override;
  void VerticalGradient(const Rect& area, Color top, Color bottom) override;
  void Text(std::string_view text, const Rect& area, const FontSpec& font, Color color,
            unsigned flags) override;

  HDC Dc() const { return m_dc.Get(); }
  int Dpi() const { return m_dpi; }
  // In pixels.
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // One pixel of the surface (pixel coordinates), for checks.
  Color PixelAt(int x, int y) const;
  // Every GDI object the surface owns (DCs, bitmap, fonts), for checks
  // that they are given back.
  std::vector<HGDIOBJ> GdiObjects() const;
  // The font the face draws `wanted` in, made on first use and kept; the
  // header lists use it too.
  HFONT FontFor(const FontSpec& wanted);

 private:
  struct CachedFont {
    std::string Name;
    int Points;
    bool Bold;
    bool Underline;
    kelvo::Font Handle;
  };

  void FillSolid(const RECT& area, Color color);

  int m_dpi;
  int m_width;
  int m_height;
  MemoryDc m_dc;
  Bitmap m_bitmap;
  Selection m_bitmapSelection;
  MemoryDc m_pictureDc;
  std::array<HBITMAP, 2> m_pictures{};
  std::array<int, 2> m_pictureScales{100, 100};
  // The face uses five fonts; each is made once and kept.
  std::vector<CachedFont> m_fonts;
};

}  // namespace kelvo
