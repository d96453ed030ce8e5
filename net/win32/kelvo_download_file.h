#pragma once
#include <string>

#include "net/download_events.h"

namespace kelvo {

// Fetches one URL over HTTP with WinINet, into a file (file mode, with
// progress events) or into a text (memory mode). Runs on the calling thread
// and lets the message loop run between reads.
class CKelvoDownLoadFile {
 public:
  // `events` receives QueryFileInfo, Loading and Complete when a call asks
  // for them; it may be null and must outlive the instance.
  explicit CKelvoDownLoadFile(DownLoadFileEvents* events = nullptr) : m_events(events) {}
  CKelvoDownLoadFile(const CKelvoDownLoadFile&) = delete;
  CKelvoDownLoadFile& operator=(const CKelvoDownLoadFile&) = delete;

  // File mode (bMakeFile): writes the body to strSaveFile (UTF-8 path),
  // replacing any file there, hidden when bHidden; true when the file was
  // created and the read loop ended, completed or stopped. Memory mode:
  // stores the body, decoded from the ANSI code page, in strFileData and
  // leaves it unchanged when no complete body arrived; always false.
  bool DownLoadFile(const std::string& strURLFile, const std::string& strSaveFile, bool bHidden,
                    bool bRaiseEvent, bool bMakeFile, std::string& strFileData);

  // Memory mode then stores the body's bytes as they arrived, undecoded
  // (for signatures, which cover the bytes as sent).
  void KeepRawBytes(bool keep) { m_bKeepRawBytes = keep; }

  // Ends a running file-mode download before its next read.
  void StopDownLoad() { m_bStop = true; }

 private:
  DownLoadFileEvents* m_events;
  bool m_bStop = false;
  bool m_bKeepRawBytes = false;
  // A handler that starts another download on this instance while one runs
  // is turned away: the instance serves one transfer at a time.
  bool m_bBusy = false;
};

}  // namespace kelvo
