#include "window/win32/gdi_canvas.h"

#include <algorithm>
#include <stdexcept>

#include "desktop/win32/platform_text.h"
#include "window/face_scale.h"

namespace kelvo {
namespace {

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

GdiCanvas::GdiCanvas(int width, int height, int dpi)
    : m_dpi(ClampDpi(dpi)),
      m_width(ScaleLength(width, m_dpi)),
      m_height(ScaleLength(height, m_dpi)),
      m_dc(nullptr),
      m_bitmap(CreateSurfaceBitmap(m_width, m_height)),
      m_bitmapSelection(m_dc.Get(), m_bitmap.Get()),
      m_pictureDc(nullptr) {
  if (!m_dc || !m_pictureDc) throw std::runtime_error("cannot create a memory device context");
  SetBkMode(m_dc.Get(), TRANSPARENT);
  SetStretchBltMode(m_dc.Get(), COLORONCOLOR);
  FillSolid({0, 0, m_width, m_height}, {255, 255, 255});
}

void GdiCanvas::SetPicture(PictureId picture, HBITMAP bitmap, int scale) {
  m_pictures[PictureIndex(picture)] = bitmap;
  m_pictureScales[PictureIndex(picture)] = scale;
}

void GdiCanvas::FillSolid(const RECT& area, Color color) {
  SetDCBrushColor(m_dc.Get(), ToColorRef(color));
  FillRect(m_dc.Get(), &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::Box(int x1, int y1, int x2, int y2, Color outline, int lineWidth, Color fill) {
  // Both corners belong to the box, and the outline lies inside it. A box
  // no thicker than two outlines is all outline: a rule in its colour.
  const RECT outer{ScaleLength(std::min(x1, x2), m_dpi), ScaleLength(std::min(y1, y2), m_dpi),
                   ScaleLength(std::max(x1, x2) + 1, m_dpi),
                   ScaleLength(std::max(y1, y2) + 1, m_dpi)};
  const int width = ScaleLineWidth(std::max(lineWidth, 1), m_dpi);
  FillSolid(outer, outline);
  const RECT inner{outer.left + width, outer.top + width, outer.right - width,
                   outer.bottom - width};
  if (inner.left < inner.right && inner.top < inner.bottom && !(fill == outline)) {
    FillSolid(inner, fill);
  }
}

void GdiCanvas::StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy,
                            int dw, int dh) {
  const size_t index = PictureIndex(picture);
  HBITMAP source = m_pictures[index];
  if (!source) return;
  const int scale = m_pictureScales[index];
  if (dw == 0 || dh == 0) {
    BITMAP info{};
    GetObjectW(source, sizeof info, &info);
    const int width = info.bmWidth * 100 / scale, height = info.bmHeight * 100 / scale;
    if (dw == 0) dw = width;
    if (dh == 0) dh = height;
    if (sw == 0) sw = width;
    if (sh == 0) sh = height;
  }
  // Both sides scaled edge by edge, as the generator placed the frames.
  const int px = ScalePictureLength(sx, scale), py = ScalePictureLength(sy, scale);
  const int pw = ScalePictureLength(sx + sw, scale) - px;
  const int ph = ScalePictureLength(sy + sh, scale) - py;
  const int x = ScaleLength(dx, m_dpi), y = ScaleLength(dy, m_dpi);
  const int w = ScaleLength(dx + dw, m_dpi) - x, h = ScaleLength(dy + dh, m_dpi) - y;
  // A picture drawn larger than the DPI is shrunk by averaging, not by
  // dropping rows; the one-column background is only stretched.
  const bool averaged = w < pw || h < ph;
  SetStretchBltMode(m_dc.Get(), averaged ? HALFTONE : COLORONCOLOR);
  if (averaged) SetBrushOrgEx(m_dc.Get(), 0, 0, nullptr);
  Selection selected(m_pictureDc.Get(), source);
  StretchBlt(m_dc.Get(), x, y, w, h, m_pictureDc.Get(), px, py, pw, ph, SRCCOPY);
}

void GdiCanvas::VerticalGradient(const Rect& area, Color top, Color bottom) {
  // COLOR16 channels carry the 8-bit value in their high byte.
  const Rect pixels = ScaleRect(area, m_dpi);
  TRIVERTEX corners[2] = {
      {pixels.Left, pixels.Top, static_cast<COLOR16>(top.Red << 8),
       static_cast<COLOR16>(top.Green << 8), static_cast<COLOR16>(top.Blue << 8), 0},
      {pixels.Right, pixels.Bottom, static_cast<COLOR16>(bottom.Red << 8),
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
      -MulDiv(wanted.Points, m_dpi, PointsPerInch), 0, 0, 0, wanted.Bold ? FW_BOLD : FW_NORMAL,
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
  const Rect pixels = ScaleRect(area, m_dpi);
  RECT rect{pixels.Left, pixels.Top, pixels.Right, pixels.Bottom};
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
