// The announcement list as any server may send it, and as kelvo-publish
// writes it from a list source: the program keeps only web addresses, and
// reads back every entry the publisher wrote.
#include <cstdint>
#include <string_view>

#include "net/announcements.h"
#include "net/answer_rules.h"
#include "tools/publish/code_page_936.h"
#include "tools/publish/site_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string kept = KeptAnnouncements(text);
  if (HasKeptAnnouncement(text) == kept.empty() || KeptAnnouncements(kept) != kept)
    __builtin_trap();
  CalendarState state;
  ParseGGList(state, kept);
  if (state.LinkCount != static_cast<int32_t>(state.AnnouncementLinks.size())) __builtin_trap();
  for (int32_t row = 0; row < state.LinkCount; ++row) {
    const AnnouncementLink& link = state.AnnouncementLinks[row];
    if (!IsWebAddress(link.LinkUrl) || link.LinkRect != AnnouncementRect(row)) __builtin_trap();
  }

  std::vector<publish::ListEntry> entries;
  std::string bytes;
  try {
    entries = publish::ReadListSource(text);
    bytes = publish::ListBytes(entries);
  } catch (const publish::Refusal& refusal) {
    // Its own reading disagreeing with the program's is no refusal of the input.
    if (std::string_view(refusal.what()).starts_with("the program")) __builtin_trap();
    return 0;
  }
  if (KeptAnnouncements(bytes) != bytes) __builtin_trap();
  CalendarState read;
  ParseGGList(read, bytes);
  if (read.LinkCount != static_cast<int32_t>(entries.size())) __builtin_trap();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (publish::FromCodePage936(read.AnnouncementLinks[i].LinkTitle) != entries[i].title ||
        publish::FromCodePage936(read.AnnouncementLinks[i].LinkUrl) != entries[i].address)
      __builtin_trap();
  }
  return 0;
}
