#pragma once
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "window/canvas.h"

namespace kelvo::testing {

struct BoxCall {
  int X1, Y1, X2, Y2;
  Color Outline;
  int LineWidth;
  Color Fill;
  friend bool operator==(const BoxCall&, const BoxCall&) = default;
};

struct CopyCall {
  PictureId Picture;
  int Sx, Sy, Sw, Sh, Dx, Dy, Dw, Dh;
  friend bool operator==(const CopyCall&, const CopyCall&) = default;
};

struct GradientCall {
  Rect Area;
  Color Top, Bottom;
  friend bool operator==(const GradientCall&, const GradientCall&) = default;
};

struct TextCall {
  std::string Text;
  Rect Area;
  std::string FontName;
  int Points;
  bool Bold;
  bool Underline;
  Color TextColor;
  unsigned Flags;
  friend bool operator==(const TextCall&, const TextCall&) = default;
};

using CanvasCall = std::variant<BoxCall, CopyCall, GradientCall, TextCall>;

// A canvas that draws nothing and remembers every call, in order, with its
// arguments, so tests can read back what the face would look like.
class RecordingCanvas : public Canvas {
 public:
  void Box(int x1, int y1, int x2, int y2, Color outline, int lineWidth, Color fill) override;
  void StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                   int dh) override;
  void VerticalGradient(const Rect& area, Color top, Color bottom) override;
  void Text(std::string_view text, const Rect& area, const FontSpec& font, Color color,
            unsigned flags) override;

  std::vector<CanvasCall> Calls;

  std::vector<BoxCall> Boxes() const;
  std::vector<TextCall> Texts() const;
  // Index in Calls of the first text call drawing exactly `text`, or -1.
  int IndexOfText(std::string_view text, int from = 0) const;
  // The first text call drawing exactly `text`; fails the test when missing.
  TextCall TextOf(std::string_view text) const;
  void Clear() { Calls.clear(); }
};

void PrintTo(const BoxCall& call, std::ostream* out);
void PrintTo(const CopyCall& call, std::ostream* out);
void PrintTo(const GradientCall& call, std::ostream* out);
void PrintTo(const TextCall& call, std::ostream* out);

}  // namespace kelvo::testing

namespace kelvo {
// gtest finds printers by argument-dependent lookup in the types' namespace.
void PrintTo(const Color& color, std::ostream* out);
void PrintTo(const Rect& rect, std::ostream* out);
}  // namespace kelvo
