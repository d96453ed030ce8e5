#pragma once
#include <string>
#include <string_view>

namespace kelvo {

// What the program takes from the announcement list. Anything can answer
// the list's address (a captive portal's login page, an error page), so an
// entry only counts when its address is a web address.

// "http://" or "https://" at the start, in any letter case. Only such
// addresses are drawn, clickable, or handed to the shell: anything else
// ("C:\x.exe", "\\host\share\x.exe", "file:", "javascript:") could start a
// program.
bool IsWebAddress(std::string_view address);

// The list with only the entries whose address is a web address, in their
// order, joined by "#"; fields beyond the address are dropped. Works on the
// raw code-page-936 bytes as well as on UTF-8: "#", "$" and the schemes are
// ASCII, and no double-byte character has a byte below 0x40.
std::string KeptAnnouncements(std::string_view list);

// True when the list has at least one kept entry; a list without one has
// not arrived and is fetched again.
bool HasKeptAnnouncement(std::string_view list);

}  // namespace kelvo
