#pragma once
#include <string>
#include <vector>

#include "tests/window/recording_canvas.h"
#include "window/window_host.h"

namespace kelvo::testing {

// A window host with a fixed "today" that records what the window asked of
// the platform.
class FakeHost : public WindowHost {
 public:
  Canvas& Surface() override { return Face; }
  void SurfaceChanged() override { ++SurfaceChanges; }
  Date Today() override { return TodayDate; }
  void BeginWindowDrag() override { ++Drags; }
  void TrackMouseLeave() override { ++LeaveRequests; }
  void OpenUrl(const std::string& url) override { OpenedUrls.push_back(url); }
  void HideWindow() override { Events.push_back("hide"); }
  void SetMenuItemText(int id, const std::string& text) override {
    Events.push_back("menu " + std::to_string(id) + " " + text);
  }

  RecordingCanvas Face;
  Date TodayDate{2024, 3, 15};
  int SurfaceChanges = 0;
  int Drags = 0;
  int LeaveRequests = 0;
  std::vector<std::string> OpenedUrls;
  std::vector<std::string> Events;
};

}  // namespace kelvo::testing
