#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// What makes a manifest an update the program will offer. The manifest
// comes from the network, so it is judged whole before the user is asked:
// a manifest that fails here is "no new version".

// 1 to 4 decimal numbers joined by "." (1.0.1, 2, 10.0.0.7).
bool IsVersionText(std::string_view version);

// A file name taken from a URL: not empty, no "\", "/", ":" or "..", no
// character Windows forbids in a name, no trailing dot or space (Windows
// drops them) and no device name (CON, NUL, COM1, ...).
bool IsPlainFileName(std::string_view name);

// An absolute Windows path ("X:\..." or "\\server\share\...", "/" taken as
// "\") with "." and ".." resolved, empty components dropped, and letters
// kept as they are. Empty for a relative path, a ".." above the root, or a
// component that is only dots and spaces other than "." and "..".
std::optional<std::string> NormalisedPath(std::string_view path);

// True when `path` lies inside `folder` (a subfolder included, the folder
// itself not), both normalised, compared without regard to ASCII case.
bool IsInsideFolder(std::string_view path, std::string_view folder);

// The script of a whole manifest stays inside appDir: every down line
// fetches a web address, its destination (with a plain file name from its URL), every del and every
// run path lies inside it; every run line starts a file that an earlier
// down line fetches; and there is at least one run line.
bool IsContainedUpdateScript(std::string_view manifest, std::string_view appDir);

// The folder of an executable's full path with exactly one trailing
// backslash ("D:\" for a program in a drive's root).
std::string AppDirOfExecutable(std::string_view exePath);

// A manifest that may be offered to the user: its version is a version
// text and its script is contained (the version comparison is separate).
bool IsAcceptableManifest(std::string_view manifest, std::string_view appDir);

}  // namespace kelvo
