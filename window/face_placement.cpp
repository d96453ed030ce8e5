#include "window/face_placement.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "window/face_scale.h"

namespace kelvo {
namespace {

int64_t OverlapArea(const Rect& a, const Rect& b) {
  const int64_t w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
  const int64_t h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

// One axis: the least shift that puts [start, start + size) inside
// [low, high); when it does not fit, the far end (the right, the top) wins.
int Fit(int start, int size, int low, int high, bool keepLow) {
  if (size > high - low) return keepLow ? low : high - size;
  return std::clamp(start, low, high - size);
}

Rect FitInto(const Rect& work, int left, int top, int width, int height) {
  const int x = Fit(left, width, work.Left, work.Right, false);
  const int y = Fit(top, height, work.Top, work.Bottom, true);
  return {x, y, x + width, y + height};
}

// The work area, held to its monitor: after a mode change a stale work area
// can still reach past the new, smaller screen.
Rect WorkOn(const MonitorArea& monitor) {
  const Rect work{std::max(monitor.Work.Left, monitor.Bounds.Left),
                  std::max(monitor.Work.Top, monitor.Bounds.Top),
                  std::min(monitor.Work.Right, monitor.Bounds.Right),
                  std::min(monitor.Work.Bottom, monitor.Bounds.Bottom)};
  return work.Left < work.Right && work.Top < work.Bottom ? work : monitor.Bounds;
}

const MonitorArea* MonitorFor(const std::vector<MonitorArea>& monitors,
                              const RememberedPlace& place) {
  for (const MonitorArea& monitor : monitors) {
    if (monitor.DeviceName == place.DeviceName) return &monitor;
  }
  const MonitorArea* best = nullptr;
  int64_t bestArea = 0;
  for (const MonitorArea& monitor : monitors) {
    const int64_t area = OverlapArea(monitor.Bounds, place.Face);
    if (area > bestArea) best = &monitor, bestArea = area;
  }
  return best;
}

}  // namespace

Rect PlaceFace(const std::vector<MonitorArea>& monitors,
               const std::optional<RememberedPlace>& remembered, int width, int height) {
  if (monitors.empty()) return {0, 0, width, height};
  if (remembered) {
    if (const MonitorArea* monitor = MonitorFor(monitors, *remembered)) {
      return FitInto(WorkOn(*monitor), remembered->Face.Right - width, remembered->Face.Top, width,
                     height);
    }
  }
  const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                    [](const MonitorArea& m) { return m.Primary; });
  const Rect work = WorkOn(primary != monitors.end() ? *primary : monitors.front());
  return FitInto(work, work.Right - width, work.Top, width, height);
}

std::string FacePlaceText(const RememberedPlace& place) {
  const Rect& r = place.Face;
  return std::to_string(r.Left) + ' ' + std::to_string(r.Top) + ' ' + std::to_string(r.Right) +
         ' ' + std::to_string(r.Bottom) + ' ' + std::to_string(place.Dpi) + ' ' + place.DeviceName;
}

std::optional<RememberedPlace> ParseFacePlace(std::string_view text) {
  // Far outside any desktop: a corrupted value, not a place.
  constexpr int Limit = 1 << 20;
  int numbers[5] = {};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int& number : numbers) {
    const auto [next, error] = std::from_chars(at, end, number);
    if (error != std::errc{} || next == end || *next != ' ' || number < -Limit || number > Limit)
      return std::nullopt;
    at = next + 1;
  }
  const std::string_view device(at, end - at);
  if (device.empty() || device.find_first_of(" \t\r\n") != std::string_view::npos)
    return std::nullopt;
  RememberedPlace place{
      {numbers[0], numbers[1], numbers[2], numbers[3]}, std::string(device), ClampDpi(numbers[4])};
  if (place.Face.Left >= place.Face.Right || place.Face.Top >= place.Face.Bottom)
    return std::nullopt;
  return place;
}

}  // namespace kelvo
