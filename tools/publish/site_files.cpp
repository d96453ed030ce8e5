#include "tools/publish/site_files.h"

#include <optional>
#include <set>

#include "net/announcements.h"
#include "tools/publish/code_page_936.h"
#include "update/payload_hash.h"
#include "update/update_check.h"
#include "update/update_script.h"

namespace kelvo::publish {
namespace {

// A folder the self-check resolves "apppath:" against.
constexpr std::string_view kCheckAppDir = "C:\\Program Files\\Kelvo\\";

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string Encoded(std::string_view utf8, std::string_view what) {
  std::optional<std::string> bytes = ToCodePage936(utf8);
  if (!bytes)
    throw Refusal(std::string(what) + " " + Quoted(utf8) + " has text code page 936 cannot hold");
  return *bytes;
}

bool EndsWithExe(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return tail == ".exe";
}

bool HasControlOr(std::string_view text, std::string_view forbidden) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string_view::npos)
      return true;
  }
  return false;
}

// The program's own reading of the manifest must give back what was meant.
void CheckManifest(const std::string& bytes, std::string_view version, std::string_view baseUrl,
                   const std::vector<Payload>& payloads, const std::string& runName) {
  const std::optional<std::string> text = FromCodePage936(bytes);
  bool same = text && PublishedVersion(*text) == version && DownHashesAcceptable(*text, true) &&
              (payloads.empty() || IsAcceptableManifest(*text, kCheckAppDir));
  const std::vector<ScriptCommand> commands =
      text ? ParseUpdateScript(*text, kCheckAppDir) : std::vector<ScriptCommand>{};
  same = same && commands.size() == payloads.size() + (runName.empty() ? 0 : 1);
  for (size_t i = 0; same && i < payloads.size(); ++i) {
    same = commands[i].kind == ScriptCommand::Kind::Down &&
           commands[i].url == std::string(baseUrl) + payloads[i].name &&
           commands[i].sha256 == payloads[i].digest;
  }
  if (same && !runName.empty()) {
    same = commands.back().kind == ScriptCommand::Kind::Run &&
           commands.back().path == std::string(kCheckAppDir) + runName;
  }
  if (!same) throw Refusal("the program would not read this manifest as written");
}

}  // namespace

std::string ManifestBytes(std::string_view version, std::string_view baseUrl,
                          const std::vector<Payload>& payloads) {
  if (!IsVersionText(version))
    throw Refusal("version " + Quoted(version) + " is not digits and dots (like 1.0.1)");
  if (!IsWebAddress(baseUrl) || baseUrl.back() != '/' || HasControlOr(baseUrl, "|# "))
    throw Refusal("base address " + Quoted(baseUrl) +
                  " is not an http:// or https:// folder ending in /");
  Encoded(baseUrl, "base address");
  std::string text = std::string(kVersionLabel) + std::string(version) + "\r\n";
  std::string runName;
  std::set<std::string> names;
  for (const Payload& payload : payloads) {
    // Judged by the program's own rule (no trailing dot, no device name),
    // so a name the program would refuse is refused for what it is.
    if (!IsPlainFileName(payload.name))
      throw Refusal("payload name " + Quoted(payload.name) + " is not a plain file name");
    Encoded(payload.name, "payload name");
    if (!names.insert(payload.name).second)
      throw Refusal("two payload files are named " + Quoted(payload.name));
    if (runName.empty() && EndsWithExe(payload.name)) runName = payload.name;
    text += "down|" + std::string(baseUrl) + payload.name + "|apppath:|" +
            std::string(kSha256FieldPrefix) + Sha256Hex(payload.digest) + "\r\n";
  }
  if (!payloads.empty() && runName.empty())
    throw Refusal("no .exe among the payload files: the update would start nothing");
  if (!runName.empty()) text += "run|apppath:" + runName + "\r\n";
  const std::string bytes = Encoded(text, "the manifest");
  CheckManifest(bytes, version, baseUrl, payloads, runName);
  return bytes;
}

std::vector<ListEntry> ReadListSource(std::string_view utf8) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  std::vector<ListEntry> entries;
  int number = 0;
  while (!utf8.empty()) {
    const size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
      throw Refusal("line " + std::to_string(number) + " has no tab between title and address");
    entries.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
  }
  return entries;
}

std::string ListBytes(const std::vector<ListEntry>& entries) {
  if (entries.empty()) throw Refusal("the list has no entries");
  std::string bytes;
  for (const ListEntry& entry : entries) {
    if (HasControlOr(entry.title, "#$"))
      throw Refusal("title " + Quoted(entry.title) + " holds a # or $ (or a control character)");
    if (HasControlOr(entry.address, "#$"))
      throw Refusal("address " + Quoted(entry.address) +
                    " holds a # or $ (or a control character)");
    if (!IsWebAddress(entry.address))
      throw Refusal("address " + Quoted(entry.address) + " is not http:// or https://");
    if (!bytes.empty()) bytes += '#';
    bytes += Encoded(entry.title, "title") + "$" + Encoded(entry.address, "address");
  }
  // The program splits the raw bytes the same way: "#" and "$" never occur
  // inside a code page 936 character.
  CalendarState state;
  ParseGGList(state, bytes);
  bool same = state.LinkCount == static_cast<int32_t>(entries.size());
  for (size_t i = 0; same && i < entries.size(); ++i) {
    same = FromCodePage936(state.AnnouncementLinks[i].LinkTitle) == entries[i].title &&
           FromCodePage936(state.AnnouncementLinks[i].LinkUrl) == entries[i].address;
  }
  if (!same) throw Refusal("the program would not read this list as written");
  return bytes;
}

}  // namespace kelvo::publish
