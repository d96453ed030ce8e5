#include "desktop/settings_rules.h"

namespace kelvo {
namespace {

// One decoded UTF-8 character and its length; malformed bytes pass as
// themselves, one at a time, so they compare as they are.
struct Decoded {
  char32_t codePoint;
  std::size_t length;
  bool valid;
};

Decoded DecodeAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 0;
  if (length == 0 || at + length > text.size()) return {lead, 1, length == 1};
  char32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {lead, 1, false};
    cp = (cp << 6) | (next & 0x3F);
  }
  return {cp, length, true};
}

void Encode(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Capital letters of the scripts a path on a Chinese system can carry
// (code page 936 holds Greek, Cyrillic and full-width Latin).
char32_t LowerCase(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;     // Latin-1
  if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 0x20;  // Greek
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;                 // Cyrillic
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;                 // Cyrillic Ё, Ђ ...
  if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 0x20;               // full-width
  return cp;
}

}  // namespace

std::string ExePathFromParts(std::string_view folder, std::string_view baseName) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += baseName;
  path += ".exe";
  return path;
}

std::string ExePathFromModulePath(std::string_view modulePath) {
  const std::size_t slash = modulePath.find_last_of("\\/");
  std::string_view folder;
  std::string_view fileName = modulePath;
  if (slash != std::string_view::npos) {
    folder = modulePath.substr(0, slash);
    fileName = modulePath.substr(slash + 1);
    // A drive root keeps its backslash: "C:\", not "C:".
    if (folder.size() == 2 && folder[1] == ':') folder = modulePath.substr(0, slash + 1);
  }
  const std::size_t dot = fileName.find_last_of('.');
  const std::string_view baseName =
      dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  return ExePathFromParts(folder, baseName);
}

std::optional<std::string> AutoRunEntryText(std::string_view bytes, uint32_t valueType) {
  if (valueType != kRegSz && valueType != kRegExpandSz) return std::nullopt;
  if (bytes.size() > kAutoRunBufferSize) bytes = bytes.substr(0, kAutoRunBufferSize);
  const std::size_t nul = bytes.find('\0');
  return std::string(nul == std::string_view::npos ? bytes : bytes.substr(0, nul));
}

std::string PathCaseFold(std::string_view utf8) {
  std::string folded;
  folded.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Decoded d = DecodeAt(utf8, at);
    if (d.valid) {
      Encode(LowerCase(d.codePoint), folded);
    } else {
      folded += utf8[at];
    }
    at += d.length;
  }
  return folded;
}

bool NamesThisExecutable(std::string_view storedPath, std::string_view exePath) {
  return PathCaseFold(storedPath) == PathCaseFold(exePath);
}

bool TransparentIsOn(uint32_t valueType, uint32_t dataSize, uint32_t value) {
  return valueType == kRegDword && dataSize == 4 && value != 0;
}

std::string RegistryStringText(std::string_view data) {
  return std::string(data.substr(0, data.find('\0')));
}

bool TransparentAtStart(const std::optional<StoredNumber>& user,
                        const std::optional<StoredNumber>& machine) {
  const std::optional<StoredNumber>& stored = user ? user : machine;
  return stored && TransparentIsOn(stored->type, stored->size, stored->value);
}

std::string_view NoticeText(SettingNotice notice) {
  switch (notice) {
    case SettingNotice::LookNotStored:
      return "无法保存半透明设置，显示未改变。";
    case SettingNotice::StartUpNotStored:
      return "无法保存开机启动设置。";
    case SettingNotice::StartUpNotRemoved:
      return "无法取消开机启动。";
    case SettingNotice::AdminMustRemove:
      return "开机启动是管理员为所有用户设置的，需由管理员取消。";
    case SettingNotice::PlaceNotStored:
      return "无法保存日历的位置，下次启动时它可能不在这里。";
    case SettingNotice::None:
      break;
  }
  return {};
}

LookChoice ChooseLook(bool wasOn, bool stored) {
  if (!stored) return {wasOn, SettingNotice::LookNotStored};
  return {!wasOn, SettingNotice::None};
}

SettingNotice StartUpNotice(bool wantedOn, StartUpEntries after) {
  if (wantedOn)
    return StartUpChecked(after) ? SettingNotice::None : SettingNotice::StartUpNotStored;
  if (after.user) return SettingNotice::StartUpNotRemoved;
  return after.machine ? SettingNotice::AdminMustRemove : SettingNotice::None;
}

}  // namespace kelvo
