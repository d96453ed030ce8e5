// The announcement list as any server may send it, and as kelvo-publish
// writes it from a list source: the program keeps only web addresses, and
// reads back every entry the publisher wrote.

#include "net/announcements.h"
#include "net/answer_rules.h"
#include "tests/fuzz/fuzz_input.h"
#include "tools/publish/code_page_936.h"
#include "tools/publish/site_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view text = fuzz::Text(data, size);
  const std::string kept = KeptAnnouncements(text);
  fuzz::TrapIf(HasKeptAnnouncement(text) == kept.empty() || KeptAnnouncements(kept) != kept);
  CalendarState state;
  ParseGGList(state, kept);
  fuzz::TrapIf(state.LinkCount != static_cast<int32_t>(state.AnnouncementLinks.size()));
  for (int32_t row = 0; row < state.LinkCount; ++row) {
    const AnnouncementLink& link = state.AnnouncementLinks[row];
    fuzz::TrapIf(!IsWebAddress(link.LinkUrl) || link.LinkRect != AnnouncementRect(row));
  }

  std::vector<publish::ListEntry> entries;
  std::string bytes;
  try {
    entries = publish::ReadListSource(text);
    bytes = publish::ListBytes(entries);
  } catch (const publish::Refusal& refusal) {
    // Its own reading disagreeing with the program's is no refusal of the input.
    fuzz::TrapIf(std::string_view(refusal.what()).starts_with("the program"));
    return 0;
  }
  fuzz::TrapIf(KeptAnnouncements(bytes) != bytes);
  CalendarState read;
  ParseGGList(read, bytes);
  fuzz::TrapIf(read.LinkCount != static_cast<int32_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    fuzz::TrapIf(publish::FromCodePage936(read.AnnouncementLinks[i].LinkTitle) !=
                     entries[i].title ||
                 publish::FromCodePage936(read.AnnouncementLinks[i].LinkUrl) != entries[i].address);
  }
  return 0;
}
