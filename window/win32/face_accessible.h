#pragma once
#include <windows.h>

#include "window/face_accessibility.h"

namespace kelvo {

class FaceAccessible;

// The face as screen readers see it through MSAA: one IAccessible with
// simple children (window/face_accessibility.h decides them), handed out on
// WM_GETOBJECT, and the focus and selection events after every change of
// the selected day. The calendar window holds one and calls it from its
// message handling.
class FaceAccessibility {
 public:
  FaceAccessibility() = default;
  ~FaceAccessibility();
  FaceAccessibility(const FaceAccessibility&) = delete;
  FaceAccessibility& operator=(const FaceAccessibility&) = delete;

  // WM_GETOBJECT: the object for OBJID_CLIENT, made on first use; 0 for any
  // other object, which the default handling answers.
  LRESULT OnGetObject(HWND hWnd, CalendarWnd& calendar, WPARAM wParam, LPARAM lParam);
  // After every repaint: announces a newly selected day.
  void OnSurfaceChanged(HWND hWnd, const CalendarWnd& calendar);
  // The window is going: every later call on the object fails, in this
  // process or another, and no new object is made.
  void Disconnect();

 private:
  FaceAccessible* m_object = nullptr;
  SelectionAnnouncement m_announcement;
  bool m_comStarted = false;
  bool m_disconnected = false;
};

}  // namespace kelvo
