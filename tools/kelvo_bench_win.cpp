// kelvo-bench-win: figures of the real calendar window on Windows (or
// Wine): the time to the first painted face, and the cost of a full paint,
// which the face repeats on every hover change. Nothing is asserted.
#include <windows.h>

#include <cstdio>

#include "window/win32/calendar_window.h"

namespace {

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  constexpr int Paints = 200;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  kelvo::CalendarWindow window;
  window.OnInitialize();
  window.Create(GetModuleHandleW(nullptr));
  window.OnLoad();
  window.Show();  // shows and paints the face
  std::printf("create, load and first paint  %8.1f ms\n", MillisecondsSince(start));

  QueryPerformanceCounter(&start);
  for (int i = 0; i < Paints; ++i) window.Calendar().PaintCalendar();
  GdiFlush();
  std::printf("PaintCalendar                 %8.3f ms\n", MillisecondsSince(start) / Paints);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < Paints; ++i) window.Calendar().NextMonth();
  GdiFlush();
  std::printf("next month (build and paint)  %8.3f ms\n", MillisecondsSince(start) / Paints);
  window.Unload();
  return 0;
}
