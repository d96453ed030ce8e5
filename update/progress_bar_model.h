#pragma once
#include <cstdint>
#include <vector>

namespace kelvo {

// The numbers and the drawing plan of KelvoProgressBar, apart from GDI.

// Min, Max and Value with the setters' acceptance rules. The setters keep
// 0 <= m_Min < m_Max and m_Min <= m_Value <= m_Max; each returns whether it
// accepted the value (and so whether the bar must be drawn again).
struct ProgressRange {
  int32_t m_Min = 0;
  int32_t m_Max = 100;
  int32_t m_Value = 0;

  bool SetMin(int32_t New_Min);
  bool SetMax(int32_t New_Max);
  bool SetValue(int32_t New_Value);
};

// The skin bitmap: 69 x 14 pixels, a rounded grey track in three pieces and
// the green fill.
inline constexpr int32_t kBarHeight = 14;
inline constexpr int32_t kSkinWidth = 69;
inline constexpr int32_t kTrackLeftX = 0, kTrackLeftWidth = 6;
inline constexpr int32_t kTrackMiddleX = 6, kTrackMiddleWidth = 10;
inline constexpr int32_t kTrackRightX = 16, kTrackRightWidth = 6;
inline constexpr int32_t kFillX = 22, kFillWidth = 47;

// One copy from the skin to the control, full height, stretched from
// SourceWidth to DestWidth columns.
struct SkinCopy {
  int32_t SourceX;
  int32_t SourceWidth;
  int32_t DestX;
  int32_t DestWidth;
  friend bool operator==(const SkinCopy&, const SkinCopy&) = default;
};

// Width of the green fill for a control `width` pixels wide:
// (width - 2) / (Max - Min) x (Value - Min), rounded half to even.
int32_t FillWidth(int32_t width, const ProgressRange& range);

// The copies that draw the bar, in order: the track's left end, its
// stretched middle, its right end, and the fill from x 1 when it is wider
// than nothing. Pieces that would have no width are left out.
std::vector<SkinCopy> BarCopies(int32_t width, const ProgressRange& range);

}  // namespace kelvo
