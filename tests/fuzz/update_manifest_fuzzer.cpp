// The update manifest and its script as any server may send them, and as
// kelvo-publish writes them. An accepted script names nothing outside the
// program's folder and starts only a file it fetched; what the publisher
// writes, the program takes as that update.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/settings_rules.h"
#include "net/answer_rules.h"
#include "tools/publish/code_page_936.h"
#include "tools/publish/site_files.h"
#include "update/payload_hash.h"
#include "update/script_validation.h"
#include "update/update_check.h"
#include "update/update_script.h"

namespace {

constexpr std::string_view kAppDir = "C:\\Program Files\\Kelvo\\";

// Normalised, without "." or ".." left, and below the folder in any case.
bool PlainlyInside(const std::string& path) {
  const std::optional<std::string> normal = kelvo::NormalisedPath(path);
  if (!normal || kelvo::NormalisedPath(*normal) != normal) return false;
  if (normal->find("\\.\\") != std::string::npos || normal->find("\\..\\") != std::string::npos)
    return false;
  return normal->size() > kAppDir.size() &&
         kelvo::PathCaseFold(normal->substr(0, kAppDir.size())) == kelvo::PathCaseFold(kAppDir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<ScriptCommand> script = ParseUpdateScript(text, kAppDir);
  for (const ScriptCommand& command : script) {
    if (command.sha256 &&
        ParseSha256Field("sha256=" + Sha256Hex(*command.sha256)) != command.sha256)
      __builtin_trap();
  }
  if (IsAcceptableManifest(text, kAppDir)) {
    if (!IsVersionText(PublishedVersion(text))) __builtin_trap();
    std::vector<std::string> fetched;
    bool runs = false;
    for (const ScriptCommand& command : script) {
      if (!PlainlyInside(command.path)) __builtin_trap();
      if (command.kind == ScriptCommand::Kind::Down) {
        if (!IsWebAddress(command.url)) __builtin_trap();
        fetched.push_back(PathCaseFold(*NormalisedPath(command.path)));
      } else if (command.kind == ScriptCommand::Kind::Run) {
        const std::string started = PathCaseFold(*NormalisedPath(command.path + ".td"));
        if (std::find(fetched.begin(), fetched.end(), started) == fetched.end()) __builtin_trap();
        runs = true;
      }
    }
    if (!runs) __builtin_trap();
  }

  // The same bytes as the maker's input: version, base address, then file names, one a line.
  std::vector<std::string> lines;
  for (std::string_view rest = text; !rest.empty();) {
    const size_t end = std::min(rest.find('\n'), rest.size());
    lines.emplace_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  if (lines.size() < 2) return 0;
  std::vector<publish::Payload> payloads;
  for (size_t i = 2; i < lines.size(); ++i) {
    payloads.push_back({lines[i], {}});
    payloads.back().digest.fill(static_cast<uint8_t>(i));
  }
  std::string bytes;
  try {
    bytes = publish::ManifestBytes(lines[0], lines[1], payloads);
  } catch (const publish::Refusal& refusal) {
    if (std::string_view(refusal.what()).starts_with("the program")) __builtin_trap();
    return 0;
  }
  const std::optional<std::string> manifest = publish::FromCodePage936(bytes);
  if (!manifest || IsOtherVersion(*manifest, lines[0]) || !DownHashesAcceptable(*manifest, true) ||
      IsAcceptableManifest(*manifest, kAppDir) == payloads.empty())
    __builtin_trap();
  return 0;
}
