#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/own_days.h"
#include "net/win32/whole_file.h"

namespace kelvo {

// The user's days file, %APPDATA%\KelvoCalendar\days.txt. A file that
// cannot be read or is refused is never written over: the first save moves
// it aside as days.txt.bad (or .bad2 ...) first. Every notice is one line
// for the user, naming the file.
class OwnDaysStore {
 public:
  struct Loaded {
    std::vector<OwnDay> Days;  // empty when there is no file or it was refused
    std::string Notice;        // why a file there was not taken; empty otherwise
  };
  Loaded Load();

  using Change = std::function<void(std::vector<OwnDay>&)>;
  struct Saved {
    std::vector<OwnDay> Days;  // with the change, stored or not
    std::vector<std::string> Notices;
    bool Stored = false;
  };
  // Applies `change` to `held` and writes the file. When the file is no
  // longer the one read (another copy of the program saved), it is read
  // again and the change is applied to what it holds instead.
  Saved Save(const std::vector<OwnDay>& held, const Change& change);

  const std::wstring& Path() const { return m_path; }

 private:
  // Reads the file at m_path: its days, or the reason it was not taken.
  DaysParseResult ReadFile();
  // Moves a refused file out of the way; the notice saying where, or why not.
  bool KeepAside(std::vector<std::string>& notices);

  std::wstring m_path;
  std::optional<FileStamp> m_stamp;  // of the file as last read or written
  bool m_keepAside = false;          // the file there was refused
};

// One line for a system error code, e.g. "拒绝访问。".
std::string SystemErrorText(DWORD code);

}  // namespace kelvo
