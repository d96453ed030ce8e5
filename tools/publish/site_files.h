#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "net/answer_rules.h"
#include "net/signature_format.h"
#include "update/script_validation.h"

namespace kelvo::publish {

// The files a maker publishes, written exactly as the program reads them
// and checked with the program's own parsers before they are written.

// An input the tool will not publish; its text is one line for the maker.
struct Refusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Where the program looks for its files under the site's root.
inline constexpr std::string_view kSiteFolder = "myapp/KelvoCalendar/";
// The eight characters before the version on the manifest's first line.
inline constexpr std::string_view kVersionLabel = "Version=";

struct Payload {
  std::string name;  // the file's name, UTF-8
  Sha256Digest digest;
};

// update.txt in code page 936 with CR LF line ends: the version line, one
// "down|<baseUrl><name>|apppath:|sha256=<hex>" line per payload and a "run"
// line for the first ".exe". Throws Refusal for a version that is not
// digits and dots, a base address that is not http(s), a name that is not
// a plain file name or comes twice, no program to start, or text code page
// 936 cannot hold.
std::string ManifestBytes(std::string_view version, std::string_view baseUrl,
                          const std::vector<Payload>& payloads);

struct ListEntry {
  std::string title;
  std::string address;
};

// The entries of a maker's list source: UTF-8 lines "title<TAB>address";
// empty lines are skipped. Throws Refusal for a line without a tab.
std::vector<ListEntry> ReadListSource(std::string_view utf8);

// GGList.txt in code page 936: "title$address" entries joined by "#".
// Throws Refusal for no entries, a "#" or "$" in a field, an address that
// is not http(s), or text code page 936 cannot hold.
std::string ListBytes(const std::vector<ListEntry>& entries);

}  // namespace kelvo::publish
