#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "update/payload_hash.h"

namespace kelvo {

// The update script: the lines of update.txt after the version line. Each
// line is "command|field|field...", executed in file order by UpdateFrm.

// Downloads land next to their destination under this suffix until the run
// line renames the program into place.
inline constexpr std::string_view kDownloadSuffix = ".td";
// Replaced, in any letter case, by the program's directory.
inline constexpr std::string_view kAppPathMarker = "apppath:";

// The manifest split at CR LF (a bare LF does not end a line).
std::vector<std::string> SplitManifestLines(std::string_view manifest);
// A line split at every "|"; an empty line has no fields at all.
std::vector<std::string> SplitScriptFields(std::string_view line);
// The program's directory with exactly one trailing backslash.
std::string AppDirFromDirectory(std::string_view directory);
// Every "apppath:" (any letter case) replaced by appDir.
std::string ReplaceAppPath(std::string_view path, std::string_view appDir);
// The part of a URL after its last "/", or the whole URL without one.
std::string FileNameFromUrl(std::string_view url);
// What the program started by a run line receives: "del " + the old
// executable's path, unquoted.
std::string RunParameter(std::string_view appDir, std::string_view exeName);

struct ScriptCommand {
  enum class Kind { Down, Del, Run };
  Kind kind;
  // Down: the address to fetch.
  std::string url;
  // Down: the ".td" file to write. Del: the file to delete. Run: the
  // program to rename into place (from path + ".td") and start.
  std::string path;
  // Down: the digest the file must have, from a "sha256=" fourth field.
  std::optional<Sha256Digest> sha256;
};

// The commands of a whole manifest (its first line skipped), with every path
// resolved against appDir. Lines with another command word, empty lines and
// lines lacking a field their command needs are left out.
std::vector<ScriptCommand> ParseUpdateScript(std::string_view manifest, std::string_view appDir);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfToEven(double value);
// The per-file percentage shown while downloading: 100 / total x received,
// rounded half to even; 0 for a total that is not positive.
int32_t DownloadPercent(int32_t received, int32_t total);
// "正在下载更新文件..." followed by the percentage and "%".
std::string LoadingLabelText(int32_t received, int32_t total);
inline constexpr std::string_view kDownloadingText = "正在下载更新文件...";

// What one "down" line's events told the form about its file.
struct PayloadTally {
  // Content-Length announced by QueryFileInfo; -1 before it came.
  int32_t Announced = -1;
  // The last cumulative count from Loading.
  int32_t Received = 0;
  // True when a download began (so a ".td" file may exist) but fewer or
  // more bytes than announced arrived: that file is not the payload and
  // must not be renamed into place.
  bool IsBroken() const { return Announced >= 0 && Received != Announced; }
};

}  // namespace kelvo
