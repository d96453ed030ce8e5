#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// Where the settings live. The program writes them below HKEY_CURRENT_USER,
// which its user always owns; the same keys below HKEY_LOCAL_MACHINE are
// only read, where the user has no value of their own (an earlier version
// kept its settings there, and an administrator may set them for everyone).
inline constexpr const char* kSettingsKey = "SOFTWARE\\KelvoCalendar";
inline constexpr const char* kTransparentValue = "Transparent";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAutoRunValue = "KelvoCalendar";

// The start-up entry is read into a buffer of this many bytes; a longer
// value fails the read and counts as absent.
inline constexpr std::size_t kAutoRunBufferSize = 260;
// Opacity of the semi-transparent look, out of 255.
inline constexpr uint8_t kTransparentAlpha = 200;

// Registry value types, as the registry numbers them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegDword = 4;

// The executable path written to and compared with the start-up entry: the
// folder, one backslash (a drive root already ends in one), the file name
// without its extension, then ".exe". Built from the module's full path.
std::string ExePathFromModulePath(std::string_view modulePath);
// The same rule from the folder and the bare file name.
std::string ExePathFromParts(std::string_view folder, std::string_view baseName);

// The text of a successfully read start-up entry. `bytes` are the bytes the
// read reported (never more than the buffer). A text value is cut at its
// first NUL; one that fills the buffer without any NUL is taken whole.
// A value that is not text (a number, binary data) names no program.
std::optional<std::string> AutoRunEntryText(std::string_view bytes, uint32_t valueType);

// Whether a stored start-up path names the executable at `exePath`. Paths
// compare without regard to letter case, as the file system does: ASCII,
// Latin-1, Greek, Cyrillic and full-width Latin letters (all UTF-8).
bool NamesThisExecutable(std::string_view storedPath, std::string_view exePath);
// Lower-case form used by that comparison; other characters are kept.
std::string PathCaseFold(std::string_view utf8);

// Whether a successfully read "Transparent" value turns the look on: only a
// 4-byte REG_DWORD counts, and then any non-zero number means on. Text,
// binary data or numbers of another width mean off.
bool TransparentIsOn(uint32_t valueType, uint32_t dataSize, uint32_t value);

// The text of a string value read from the registry: up to the first NUL,
// or all of it when there is none.
std::string RegistryStringText(std::string_view data);

// One "Transparent" value as read from one registry scope.
struct StoredNumber {
  uint32_t type = 0;
  uint32_t size = 0;
  uint32_t value = 0;
};
// The look at start-up: the user's own value whenever they have one (0
// included, so turning the look off overrides a machine-wide 1), else the
// machine-wide one.
bool TransparentAtStart(const std::optional<StoredNumber>& user,
                        const std::optional<StoredNumber>& machine);

// What the user is told, in one line, when a menu choice could not be
// carried out; None when it was.
enum class SettingNotice {
  None,
  LookNotStored,
  StartUpNotStored,
  StartUpNotRemoved,
  AdminMustRemove,
  PlaceNotStored
};
std::string_view NoticeText(SettingNotice notice);

// The look after its menu item was chosen: switched only when the new
// value was stored, so the check mark always shows what the next start
// will show.
struct LookChoice {
  bool on;
  SettingNotice notice;
};
LookChoice ChooseLook(bool wasOn, bool stored);

// Start-up entries naming this executable, by scope, as read back after a
// change. The item is checked while any of them exists.
struct StartUpEntries {
  bool user = false;
  bool machine = false;
};
inline bool StartUpChecked(StartUpEntries entries) {
  return entries.user || entries.machine;
}
// Whether the start-up item's choice came true: turned on, an entry must
// exist; turned off, none may be left. An entry of all users that this user
// may not delete is an administrator's to remove.
SettingNotice StartUpNotice(bool wantedOn, StartUpEntries after);

}  // namespace kelvo
