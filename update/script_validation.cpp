#include "update/script_validation.h"

#include <algorithm>
#include <array>
#include <vector>

#include "net/answer_rules.h"
#include "update/update_check.h"
#include "update/update_script.h"

namespace kelvo {
namespace {

// Names Windows reserves for devices, with or without an extension.
constexpr std::array<std::string_view, 22> kDeviceNames = {
    "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
    "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool OnlyDotsAndSpaces(std::string_view text) {
  return text.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

bool IsVersionText(std::string_view version) {
  int numbers = 0;
  size_t start = 0;
  for (;;) {
    const size_t dot = version.find('.', start);
    const std::string_view number =
        version.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos) {
      return false;
    }
    if (++numbers > 4) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  if (name.back() == '.' || name.back() == ' ') return false;
  const std::string stem = LowerAscii(name.substr(0, name.find('.')));
  return std::find(kDeviceNames.begin(), kDeviceNames.end(), stem) == kDeviceNames.end();
}

std::optional<std::string> NormalisedPath(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  std::string root;
  size_t rest = 0;
  if (text.size() >= 3 && text[1] == ':' && text[2] == '\\' &&
      ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))) {
    root = text.substr(0, 2);
    rest = 3;
  } else if (text.size() > 2 && text[0] == '\\' && text[1] == '\\') {
    // \\server\share: both names are part of the root.
    const size_t server = text.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::nullopt;
    const size_t share = text.find('\\', server + 1);
    root = text.substr(0, share);
    if (root.size() == server + 1) return std::nullopt;
    rest = share == std::string::npos ? text.size() : share + 1;
  } else {
    return std::nullopt;
  }
  std::vector<std::string_view> parts;
  const std::string_view tail = std::string_view(text).substr(rest);
  size_t start = 0;
  while (start <= tail.size()) {
    size_t end = tail.find('\\', start);
    if (end == std::string_view::npos) end = tail.size();
    const std::string_view part = tail.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.empty()) return std::nullopt;
      parts.pop_back();
      continue;
    }
    // Windows trims trailing dots and spaces, so ".. " would mean "..".
    if (OnlyDotsAndSpaces(part)) return std::nullopt;
    parts.push_back(part);
  }
  std::string out = root;
  for (std::string_view part : parts) out.append("\\").append(part);
  return out;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
  const std::optional<std::string> inner = NormalisedPath(path);
  const std::optional<std::string> outer = NormalisedPath(folder);
  if (!inner || !outer) return false;
  const std::string prefix = LowerAscii(*outer) + "\\";
  const std::string lowered = LowerAscii(*inner);
  return lowered.size() > prefix.size() && lowered.compare(0, prefix.size(), prefix) == 0;
}

bool IsContainedUpdateScript(std::string_view manifest, std::string_view appDir) {
  std::vector<std::string> fetched;  // the ".td" files, normalised and lower-cased
  bool runs = false;
  for (const ScriptCommand& command : ParseUpdateScript(manifest, appDir)) {
    if (!IsInsideFolder(command.path, appDir)) return false;
    switch (command.kind) {
      case ScriptCommand::Kind::Down:
        if (!IsWebAddress(command.url) || !IsPlainFileName(FileNameFromUrl(command.url))) {
          return false;
        }
        fetched.push_back(LowerAscii(*NormalisedPath(command.path)));
        break;
      case ScriptCommand::Kind::Del:
        break;
      case ScriptCommand::Kind::Run: {
        // The run line renames its path plus ".td" as written, so that text
        // must name a fetched file: "x.exe/" normalises to "x.exe", but its
        // ".td" is "x.exe\.td", which nothing fetched.
        const std::optional<std::string> source =
            NormalisedPath(command.path + std::string(kDownloadSuffix));
        if (!source ||
            std::find(fetched.begin(), fetched.end(), LowerAscii(*source)) == fetched.end()) {
          return false;
        }
        runs = true;
        break;
      }
    }
  }
  return runs;
}

std::string AppDirOfExecutable(std::string_view exePath) {
  const size_t slash = exePath.find_last_of("\\/");
  return AppDirFromDirectory(slash == std::string_view::npos ? "" : exePath.substr(0, slash));
}

bool IsAcceptableManifest(std::string_view manifest, std::string_view appDir) {
  return IsVersionText(PublishedVersion(manifest)) && IsContainedUpdateScript(manifest, appDir);
}

}  // namespace kelvo
