#include "net/announcements.h"

#include <algorithm>

namespace kelvo {

namespace {

constexpr char kEntrySeparator = '#';
constexpr char kFieldSeparator = '$';

// The field of `piece` that starts at `from` and ends at the next "$".
std::string_view FieldFrom(std::string_view piece, size_t from) {
  const size_t end = piece.find(kFieldSeparator, from);
  return piece.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
}

}  // namespace

void ParseGGList(CalendarState& state, std::string_view text) {
  // The entry after the last counted one goes at index LinkCount.
  state.AnnouncementLinks.resize(static_cast<size_t>(state.LinkCount));
  // One allocation for the whole list. Every entry but the last ends with a
  // "#" and every entry holds a "$", so neither count can be exceeded.
  const auto hashes = std::count(text.begin(), text.end(), kEntrySeparator);
  const auto dollars = std::count(text.begin(), text.end(), kFieldSeparator);
  state.AnnouncementLinks.reserve(state.AnnouncementLinks.size() +
                                  static_cast<size_t>(std::min(hashes, dollars)) + 1);
  int32_t row = 0;
  size_t start = 0;
  // An empty text gives no pieces; otherwise every "#" ends one piece and
  // the text after the last "#" is the final piece (empty after a trailing "#").
  while (!text.empty() && start <= text.size()) {
    size_t end = text.find(kEntrySeparator, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view piece = text.substr(start, end - start);
    start = end + 1;

    const size_t dollar = piece.find(kFieldSeparator);
    if (dollar == std::string_view::npos) continue;
    // Rows past the 32-bit coordinate range cannot be placed; a list that
    // long never passes the fetch's size limit anyway.
    if (row > kLastAnnouncementRow || state.LinkCount == INT32_MAX) break;

    AnnouncementLink link;
    link.LinkRect = AnnouncementRect(row);
    link.LinkTitle = std::string(piece.substr(0, dollar));
    link.LinkUrl = std::string(FieldFrom(piece, dollar + 1));
    state.AnnouncementLinks.push_back(std::move(link));
    ++state.LinkCount;
    ++row;
  }
}

}  // namespace kelvo
