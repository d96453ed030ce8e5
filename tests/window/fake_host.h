#pragma once
#include <algorithm>
#include <sstream>
#include <vector>

#include "window/window_host.h"

namespace kelvo::testing {

inline std::ostream& operator<<(std::ostream& out, Color c) {
  return out << int(c.Red) << ',' << int(c.Green) << ',' << int(c.Blue);
}
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << r.Left << ',' << r.Top << ',' << r.Right << ',' << r.Bottom;
}

// A canvas that draws nothing and writes each call down as one line of text,
// with the pixels it covers, so a test can read the face back in order.
class RecordingCanvas : public Canvas {
 public:
  void Box(int x1, int y1, int x2, int y2, Color outline, int width, Color fill) override {
    Add({x1, y1, x2 + 1, y2 + 1}, "box ", x1, ',', y1, '-', x2, ',', y2, ' ', outline, " w", width,
        " fill ", fill);
  }
  void StretchCopy(PictureId picture, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                   int dh) override {
    Add({dx, dy, dx + dw, dy + dh}, "copy ", picture == PictureId::ArrowStrip ? "arrows " : "hide ",
        sx, ',', sy, ' ', sw, 'x', sh, " -> ", dx, ',', dy, ' ', dw, 'x', dh);
  }
  void VerticalGradient(const Rect& a, Color top, Color bottom) override {
    Add(a, "gradient ", a, ' ', top, " -> ", bottom);
  }
  void Text(std::string_view text, const Rect& a, const FontSpec& font, Color color,
            unsigned flags) override {
    Add(a, "text ", text, ' ', a, ' ', font.Name, ' ', font.Points, font.Bold ? " bold" : "",
        font.Underline ? " underline" : "", ' ', color, flags & TextCenter ? " centre" : "",
        flags & TextVCenter ? " middle" : "", flags & TextEndEllipsis ? " ellipsis" : "");
  }

  // The calls drawn inside `r`, in order.
  std::vector<std::string> Within(const Rect& r) const {
    std::vector<std::string> result;
    for (size_t i = 0; i < Calls.size(); ++i) {
      const Rect& a = m_areas[i];
      if (a.Left >= r.Left && a.Top >= r.Top && a.Right <= r.Right && a.Bottom <= r.Bottom) {
        result.push_back(Calls[i]);
      }
    }
    return result;
  }
  bool Drew(std::string_view prefix) const {
    return std::any_of(Calls.begin(), Calls.end(), [&](auto& c) { return c.starts_with(prefix); });
  }
  void Clear() { Calls.clear(), m_areas.clear(); }

  std::vector<std::string> Calls;

 private:
  template <typename... Parts>
  void Add(const Rect& area, const Parts&... parts) {
    std::ostringstream line;
    (line << ... << parts);
    Calls.push_back(line.str());
    m_areas.push_back(area);
  }
  std::vector<Rect> m_areas;
};

// A window host with a fixed "today" that records what the window asked for.
class FakeHost : public WindowHost {
 public:
  Canvas& Surface() override { return Face; }
  void SurfaceChanged() override { ++SurfaceChanges; }
  Date Today() override { return TodayDate; }
  bool BeginWindowDrag() override { return ++Drags, DragMoves; }
  void TrackMouseLeave() override { ++LeaveRequests; }
  void OpenUrl(const std::string& url) override { Events.push_back("open " + url); }
  void HideWindow() override { Events.push_back("hide"); }
  void SetMenuItemText(int id, const std::string& text) override {
    Events.push_back("menu " + std::to_string(id) + " " + text);
  }
  void ShowList(SelectorList, const std::vector<std::string>& items, int at) override {
    Events.push_back("list " + items.front() + "-" + items.back() + " at " + std::to_string(at));
  }
  void CloseList() override { Events.push_back("close list"); }

  RecordingCanvas Face;
  Date TodayDate{2024, 3, 15};
  int SurfaceChanges = 0, Drags = 0, LeaveRequests = 0;
  bool DragMoves = false;
  std::vector<std::string> Events;
};

}  // namespace kelvo::testing
