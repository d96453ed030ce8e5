#include "window/win32/gdi_canvas.h"

#include <algorithm>
#include <stdexcept>

#include "desktop/win32/platform_text.h"

namespace kelvo {
namespace {

constexpr int ScreenDpi = 96;
constexpr int PointsPerInch = 72;

COLORREF ToColorRef(Color color) {
  return RGB(color.Red, color.Green, color.Blue);
}

Bitmap CreateSurfaceBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) throw std::runtime_error("cannot create the drawing surface");
  return bitmap;
}

UINT DrawTextFormat(unsigned flags) {
  // One line, and "&" is an ordinary character in every text of the face.
  UINT format = DT_SINGLELINE | DT_NOPREFIX;
  if (flags & TextCenter) format |= DT_CENTER;
  if (flags & TextVCenter) format |= DT_VCENTER;
  if (flags & TextEndEllipsis) format |= DT_END_ELLIPSIS;
  return format;
}

size_t PictureIndex(PictureId picture) {
  return picture == PictureId::HidePicture ? 0 : 1;
}

}  // namespace

GdiCanvas::GdiCanvas(int width, int height)
    : m_width(width),
      m_height(height),
      m_dc(nullptr),
      m_bitmap(CreateSurfaceBitmap(width, height)),
      m_bitmapSelection(m_dc.Get(), m_bitmap.Get()),
      m_pictureDc(nullptr) {
  if (!m_dc || !m_pictureDc) throw std::runtime_error("cannot create a memory device context");
  SetBkMode(m_dc.Get(), TRANSPARENT);
  SetStretchBltMode(m_dc.Get(), COLORONCOLOR);
  FillSolid({0, 0, width, height}, {255, 255, 255});
}

void GdiCanvas::SetPicture(PictureId picture, HBITMAP bitmap) {
  m_pictures[PictureIndex(picture)] = bitmap;
}

void GdiCanvas::FillSolid(const RECT& area, Color color) {
  SetDCBrushColor(m_dc.Get(), ToColorRef(color));
  FillRect(m_dc.Get(), &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::Box(int x1, int y1, int x2, int y2, Color outline, int lineWidth, Color fill) {
  // Both corners belong to the box, and the outline lies inside it. A box
  // no thicker than two outlines is all outline: a rule in its colour.
  const RECT outer{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
  const int width = std::max(lineWidth, 1);
  FillSolid(outer, outline);
  const RECT inner{outer.left + width, outer.top + width, outer.right - width,
                   outer.bottom - width};
  if (inner.left < inner.right && inner.top < inner.bottom && !(fill == outline)) {
    FillSolid(inner, fill);
  }
}

void GdiCanvas::StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy,
                            int dw, int dh) {
  HBITMAP source = m_pictures[PictureIndex(picture)];
  if (!source) return;
  if (dw == 0 || dh == 0) {
    BITMAP info{};
    GetObjectW(source, sizeof info, &info);
    if (dw == 0) dw = info.bmWidth;
    if (dh == 0) dh = info.bmHeight;
    if (sw == 0) sw = info.bmWidth;
    if (sh == 0) sh = info.bmHeight;
  }
  Selection selected(m_pictureDc.Get(), source);
  StretchBlt(m_dc.Get(), dx, dy, dw, dh, m_pictureDc.Get(), sx, sy, sw, sh, SRCCOPY);
}

void GdiCanvas::VerticalGradient(const Rect& area, Color top, Color bottom) {
  // COLOR16 channels carry the 8-bit value in their high byte.
  TRIVERTEX corners[2] = {
      {area.Left, area.Top, static_cast<COLOR16>(top.Red << 8),
       static_cast<COLOR16>(top.Green << 8), static_cast<COLOR16>(top.Blue << 8), 0},
      {area.Right, area.Bottom, static_cast<COLOR16>(bottom.Red << 8),
       static_cast<COLOR16>(bottom.Green << 8), static_cast<COLOR16>(bottom.Blue << 8), 0},
  };
  GRADIENT_RECT rect{0, 1};
  GradientFill(m_dc.Get(), corners, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

HFONT GdiCanvas::FontFor(const FontSpec& wanted) {
  for (const CachedFont& font : m_fonts) {
    if (font.Name == wanted.Name && font.Points == wanted.Points && font.Bold == wanted.Bold &&
        font.Underline == wanted.Underline) {
      return font.Handle.Get();
    }
  }
  const std::wstring face = ToWide(wanted.Name);
  HFONT handle = CreateFontW(
      -MulDiv(wanted.Points, ScreenDpi, PointsPerInch), 0, 0, 0, wanted.Bold ? FW_BOLD : FW_NORMAL,
      FALSE, wanted.Underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  m_fonts.push_back({std::string(wanted.Name), wanted.Points, wanted.Bold, wanted.Underline,
                     kelvo::Font(handle)});
  return handle;
}

void GdiCanvas::Text(std::string_view text, const Rect& area, const FontSpec& font, Color color,
                     unsigned flags) {
  if (text.empty()) return;
  std::wstring wide = ToWide(text);
  RECT rect{area.Left, area.Top, area.Right, area.Bottom};
  Selection selected(m_dc.Get(), FontFor(font));
  SetTextColor(m_dc.Get(), ToColorRef(color));
  DrawTextW(m_dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &rect, DrawTextFormat(flags));
}

Color GdiCanvas::PixelAt(int x, int y) const {
  GdiFlush();
  const COLORREF pixel = GetPixel(m_dc.Get(), x, y);
  return {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
}

std::vector<HGDIOBJ> GdiCanvas::GdiObjects() const {
  std::vector<HGDIOBJ> objects{m_dc.Get(), m_bitmap.Get(), m_pictureDc.Get()};
  for (const CachedFont& font : m_fonts) objects.push_back(font.Handle.Get());
  return objects;
}

}  // namespace kelvo
