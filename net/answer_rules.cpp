#include "net/answer_rules.h"

namespace kelvo {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Calls keep(title, address) for every entry as the list parser splits it.
template <typename Keep>
void ForEachEntry(std::string_view list, Keep keep) {
  size_t start = 0;
  while (!list.empty() && start <= list.size()) {
    size_t end = list.find('#', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view piece = list.substr(start, end - start);
    start = end + 1;
    const size_t dollar = piece.find('$');
    if (dollar == std::string_view::npos) continue;
    const std::string_view rest = piece.substr(dollar + 1);
    if (!keep(piece.substr(0, dollar), rest.substr(0, rest.find('$')))) return;
  }
}

}  // namespace

bool IsWebAddress(std::string_view address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

std::string KeptAnnouncements(std::string_view list) {
  std::string kept;
  ForEachEntry(list, [&](std::string_view title, std::string_view address) {
    if (!IsWebAddress(address)) return true;
    if (!kept.empty()) kept += '#';
    kept.append(title).append("$").append(address);
    return true;
  });
  return kept;
}

bool HasKeptAnnouncement(std::string_view list) {
  bool found = false;
  ForEachEntry(list, [&](std::string_view, std::string_view address) {
    found = IsWebAddress(address);
    return !found;
  });
  return found;
}

}  // namespace kelvo
