// The update manifest and its script as any server may send them, and as
// kelvo-publish writes them. An accepted script names nothing outside the
// program's folder and starts only a file it fetched; what the publisher
// writes, the program takes as that update.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "desktop/settings_rules.h"
#include "net/answer_rules.h"
#include "tests/fuzz/fuzz_input.h"
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
  const std::string_view text = fuzz::Text(data, size);
  const std::vector<ScriptCommand> script = ParseUpdateScript(text, kAppDir);
  for (const ScriptCommand& command : script) {
    fuzz::TrapIf(command.sha256 &&
                 ParseSha256Field("sha256=" + Sha256Hex(*command.sha256)) != command.sha256);
  }
  if (IsAcceptableManifest(text, kAppDir)) {
    fuzz::TrapIf(!IsVersionText(PublishedVersion(text)));
    std::vector<std::string> fetched;
    bool runs = false;
    for (const ScriptCommand& command : script) {
      fuzz::TrapIf(!PlainlyInside(command.path));
      if (command.kind == ScriptCommand::Kind::Down) {
        fuzz::TrapIf(!IsWebAddress(command.url));
        fetched.push_back(PathCaseFold(*NormalisedPath(command.path)));
      } else if (command.kind == ScriptCommand::Kind::Run) {
        const std::string started = PathCaseFold(*NormalisedPath(command.path + ".td"));
        fuzz::TrapIf(std::find(fetched.begin(), fetched.end(), started) == fetched.end());
        runs = true;
      }
    }
    fuzz::TrapIf(!runs);
  }

  // The same bytes as the maker's input: version, base address, then file names, one a line.
  const std::vector<std::string_view> lines = fuzz::Split(text, '\n');
  if (lines.size() < 2) return 0;
  std::vector<publish::Payload> payloads;
  for (size_t i = 2; i < lines.size(); ++i) {
    payloads.push_back({std::string(lines[i]), {}});
    payloads.back().digest.fill(static_cast<uint8_t>(i));
  }
  std::string bytes;
  try {
    bytes = publish::ManifestBytes(lines[0], lines[1], payloads);
  } catch (const publish::Refusal& refusal) {
    fuzz::TrapIf(std::string_view(refusal.what()).starts_with("the program"));
    return 0;
  }
  const std::optional<std::string> manifest = publish::FromCodePage936(bytes);
  fuzz::TrapIf(!manifest || IsOtherVersion(*manifest, lines[0]) ||
               !DownHashesAcceptable(*manifest, true) ||
               IsAcceptableManifest(*manifest, kAppDir) == payloads.empty());
  return 0;
}
