#include "update/update_script.h"

#include <cmath>

namespace kelvo {
namespace {

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool MarkerAt(std::string_view text, size_t pos) {
  if (text.size() - pos < kAppPathMarker.size()) return false;
  for (size_t i = 0; i < kAppPathMarker.size(); ++i) {
    if (AsciiLower(text[pos + i]) != kAppPathMarker[i]) return false;
  }
  return true;
}

std::string WithTrailingBackslash(std::string_view directory) {
  std::string out(directory);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

}  // namespace

std::vector<std::string> SplitManifestLines(std::string_view manifest) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = manifest.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(manifest.substr(start));
      return lines;
    }
    lines.emplace_back(manifest.substr(start, end - start));
    start = end + 2;
  }
}

std::vector<std::string> SplitScriptFields(std::string_view line) {
  std::vector<std::string> fields;
  if (line.empty()) return fields;
  size_t start = 0;
  for (;;) {
    const size_t end = line.find('|', start);
    if (end == std::string_view::npos) {
      fields.emplace_back(line.substr(start));
      return fields;
    }
    fields.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
}

std::string AppDirFromDirectory(std::string_view directory) {
  return WithTrailingBackslash(directory);
}

std::string ReplaceAppPath(std::string_view path, std::string_view appDir) {
  std::string out;
  size_t pos = 0;
  while (pos < path.size()) {
    if (MarkerAt(path, pos)) {
      out += appDir;
      pos += kAppPathMarker.size();
    } else {
      out += path[pos++];
    }
  }
  return out;
}

std::string FileNameFromUrl(std::string_view url) {
  const size_t slash = url.rfind('/');
  return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

std::string RunParameter(std::string_view appDir, std::string_view exeName) {
  return "del " + std::string(appDir) + std::string(exeName) + ".exe";
}

std::vector<ScriptCommand> ParseUpdateScript(std::string_view manifest, std::string_view appDir) {
  std::vector<ScriptCommand> commands;
  const std::vector<std::string> lines = SplitManifestLines(manifest);
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = SplitScriptFields(lines[i]);
    if (fields.empty()) continue;
    const std::string word = AsciiLower(fields[0]);
    if (word == "down") {
      if (fields.size() < 3) continue;
      // The backslash goes on before the marker is replaced, so
      // "apppath:" becomes AppDir + "\" (a doubled backslash the file
      // system accepts).
      const std::string directory = ReplaceAppPath(WithTrailingBackslash(fields[2]), appDir);
      commands.push_back({ScriptCommand::Kind::Down, fields[1],
                          directory + FileNameFromUrl(fields[1]) + std::string(kDownloadSuffix),
                          fields.size() > 3 ? ParseSha256Field(fields[3]) : std::nullopt});
    } else if (word == "del") {
      if (fields.size() < 2) continue;
      commands.push_back({ScriptCommand::Kind::Del, "", ReplaceAppPath(fields[1], appDir), {}});
    } else if (word == "run") {
      if (fields.size() < 2) continue;
      commands.push_back({ScriptCommand::Kind::Run, "", ReplaceAppPath(fields[1], appDir), {}});
    }
  }
  return commands;
}

double RoundHalfToEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

int32_t DownloadPercent(int32_t received, int32_t total) {
  if (total <= 0) return 0;
  return static_cast<int32_t>(RoundHalfToEven(100.0 / total * received));
}

std::string LoadingLabelText(int32_t received, int32_t total) {
  return std::string(kDownloadingText) + std::to_string(DownloadPercent(received, total)) + "%";
}

}  // namespace kelvo
