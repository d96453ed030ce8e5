#include "tests/window/recording_canvas.h"

#include <gtest/gtest.h>

namespace kelvo::testing {

void RecordingCanvas::Box(int x1, int y1, int x2, int y2, Color outline, int lineWidth,
                          Color fill) {
  Calls.emplace_back(BoxCall{x1, y1, x2, y2, outline, lineWidth, fill});
}

void RecordingCanvas::StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy,
                                  int dw, int dh) {
  Calls.emplace_back(CopyCall{picture, sx, sy, sw, sh, dx, dy, dw, dh});
}

void RecordingCanvas::VerticalGradient(const Rect& area, Color top, Color bottom) {
  Calls.emplace_back(GradientCall{area, top, bottom});
}

void RecordingCanvas::Text(std::string_view text, const Rect& area, const FontSpec& font,
                           Color color, unsigned flags) {
  Calls.emplace_back(TextCall{std::string(text), area, std::string(font.Name), font.Points,
                              font.Bold, font.Underline, color, flags});
}

namespace {
template <typename T>
std::vector<T> Only(const std::vector<CanvasCall>& calls) {
  std::vector<T> result;
  for (const CanvasCall& call : calls) {
    if (const T* typed = std::get_if<T>(&call)) result.push_back(*typed);
  }
  return result;
}
}  // namespace

std::vector<BoxCall> RecordingCanvas::Boxes() const {
  return Only<BoxCall>(Calls);
}
std::vector<TextCall> RecordingCanvas::Texts() const {
  return Only<TextCall>(Calls);
}

int RecordingCanvas::IndexOfText(std::string_view text, int from) const {
  for (int i = from; i < static_cast<int>(Calls.size()); ++i) {
    const TextCall* call = std::get_if<TextCall>(&Calls[i]);
    if (call && call->Text == text) return i;
  }
  return -1;
}

TextCall RecordingCanvas::TextOf(std::string_view text) const {
  const int index = IndexOfText(text);
  EXPECT_NE(index, -1) << "no text call drew \"" << text << "\"";
  if (index < 0) return {};
  return std::get<TextCall>(Calls[index]);
}

void PrintTo(const BoxCall& call, std::ostream* out) {
  *out << "Box(" << call.X1 << "," << call.Y1 << " - " << call.X2 << "," << call.Y2 << " outline ";
  PrintTo(call.Outline, out);
  *out << " width " << call.LineWidth << " fill ";
  PrintTo(call.Fill, out);
  *out << ")";
}

void PrintTo(const CopyCall& call, std::ostream* out) {
  *out << "Copy(" << (call.Picture == PictureId::ArrowStrip ? "ArrowStrip" : "HidePicture")
       << " src " << call.Sx << "," << call.Sy << " " << call.Sw << "x" << call.Sh << " -> "
       << call.Dx << "," << call.Dy << " " << call.Dw << "x" << call.Dh << ")";
}

void PrintTo(const GradientCall& call, std::ostream* out) {
  *out << "Gradient(";
  PrintTo(call.Area, out);
  *out << " ";
  PrintTo(call.Top, out);
  *out << " -> ";
  PrintTo(call.Bottom, out);
  *out << ")";
}

void PrintTo(const TextCall& call, std::ostream* out) {
  *out << "Text(\"" << call.Text << "\" in ";
  PrintTo(call.Area, out);
  *out << " " << call.FontName << " " << call.Points << "pt" << (call.Bold ? " bold" : "")
       << (call.Underline ? " underline" : "") << " ";
  PrintTo(call.TextColor, out);
  *out << " flags " << call.Flags << ")";
}

}  // namespace kelvo::testing

namespace kelvo {

void PrintTo(const Color& color, std::ostream* out) {
  *out << "rgb(" << int(color.Red) << "," << int(color.Green) << "," << int(color.Blue) << ")";
}

void PrintTo(const Rect& rect, std::ostream* out) {
  *out << "(" << rect.Left << "," << rect.Top << "," << rect.Right << "," << rect.Bottom << ")";
}

}  // namespace kelvo
