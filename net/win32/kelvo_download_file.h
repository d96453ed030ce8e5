#pragma once
#include <windows.h>

#include <string>

#include "net/download_events.h"

namespace kelvo {

// How file mode writes a chunk; WriteFile unless a test stands in a
// failing disk. Null restores WriteFile.
using PayloadWriter = BOOL(WINAPI*)(HANDLE file, const void* bytes, DWORD size, DWORD* written);
void SetPayloadWriter(PayloadWriter writer);

// Fetches one URL over HTTP with WinINet, into a file (file mode, with
// progress events) or into a text (memory mode). A synchronous call for its
// caller: the WinINet calls run on a worker thread (HttpTransfer) while this
// thread lets its message loop run, and the events are raised here. A
// request that delivers nothing for 30 s fails; so does the call when the
// message loop is asked to quit.
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

  // After a file-mode call: every byte of the Content-Length arrived, was
  // written, and the file on disk has exactly that size.
  bool LastFileWhole() const { return m_bWhole; }

 private:
  DownLoadFileEvents* m_events;
  bool m_bStop = false;
  bool m_bWhole = false;
  bool m_bKeepRawBytes = false;
  // A handler that starts another download on this instance while one runs
  // is turned away: the instance serves one transfer at a time.
  bool m_bBusy = false;
};

}  // namespace kelvo
