#include "update/progress_bar_model.h"

#include "update/update_script.h"

namespace kelvo {

bool ProgressRange::SetMin(int32_t New_Min) {
  if (New_Min < 0 || New_Min >= m_Max) return false;
  m_Min = New_Min;
  if (m_Value < m_Min) m_Value = m_Min;
  return true;
}

bool ProgressRange::SetMax(int32_t New_Max) {
  if (New_Max <= m_Min) return false;
  m_Max = New_Max;
  if (m_Value > m_Max) m_Value = m_Max;
  return true;
}

bool ProgressRange::SetValue(int32_t New_Value) {
  if (New_Value < m_Min || New_Value > m_Max) return false;
  m_Value = New_Value;
  return true;
}

int32_t FillWidth(int32_t width, const ProgressRange& range) {
  // In double: the span can reach 2^31 and the product would overflow.
  const double span = static_cast<double>(range.m_Max) - range.m_Min;
  if (span <= 0) return 0;
  const double fill =
      (static_cast<double>(width) - 2) / span * (static_cast<double>(range.m_Value) - range.m_Min);
  return static_cast<int32_t>(RoundHalfToEven(fill));
}

std::vector<SkinCopy> BarCopies(int32_t width, const ProgressRange& range) {
  std::vector<SkinCopy> copies;
  copies.push_back({kTrackLeftX, kTrackLeftWidth, 0, kTrackLeftWidth});
  if (width - 12 > 0) copies.push_back({kTrackMiddleX, kTrackMiddleWidth, 6, width - 12});
  copies.push_back({kTrackRightX, kTrackRightWidth, width - 6, kTrackRightWidth});
  const int32_t fill = FillWidth(width, range);
  if (fill > 0) copies.push_back({kFillX, kFillWidth, 1, fill});
  return copies;
}

}  // namespace kelvo
