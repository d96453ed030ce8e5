#include "net/win32/kelvo_download_file.h"

#include <windows.h>
#include <wininet.h>

#include <optional>

#include "desktop/win32/platform_text.h"
#include "net/download_rules.h"
#include "net/win32/file_handle.h"
#include "net/win32/http_transfer.h"
#include "net/win32/message_pump.h"

namespace kelvo {
namespace {

BOOL WINAPI WriteWithWriteFile(HANDLE file, const void* bytes, DWORD size, DWORD* written) {
  return WriteFile(file, bytes, size, written, nullptr);
}

PayloadWriter g_writePayload = &WriteWithWriteFile;

// Raises Complete, whatever path the call took.
struct CompleteOnExit {
  DownLoadFileEvents* events;
  bool raise;
  ~CompleteOnExit() {
    if (raise && events) events->Complete();
  }
};

}  // namespace

void SetPayloadWriter(PayloadWriter writer) {
  g_writePayload = writer ? writer : &WriteWithWriteFile;
}

bool CKelvoDownLoadFile::DownLoadFile(const std::string& strURLFile, const std::string& strSaveFile,
                                      bool bHidden, bool bRaiseEvent, bool bMakeFile,
                                      std::string& strFileData) {
  m_bStop = false;
  m_bWhole = false;
  const bool raise = bRaiseEvent && m_events != nullptr;
  if (m_bBusy) {
    if (raise) m_events->Complete();
    return false;
  }
  m_bBusy = true;
  struct BusyReset {
    bool& busy;
    ~BusyReset() { busy = false; }
  } busyReset{m_bBusy};

  CompleteOnExit complete{m_events, raise};
  // The network waits happen on the transfer's worker; this thread only
  // lets its messages run until each step is there.
  HttpTransfer transfer(bMakeFile ? DownloadMode::File : DownloadMode::Memory,
                        HttpTransfer::Waiting::Pump);
  const std::optional<int32_t> total = transfer.Open(ToWide(strURLFile));
  if (!total) return false;
  if (raise) m_events->QueryFileInfo(*total);

  if (!bMakeFile) {
    // A body cut short is not the file the server meant: a truncated
    // manifest would run a truncated script. Only a complete body is text.
    if (std::optional<std::string> body = transfer.Body())
      strFileData = m_bKeepRawBytes ? *body : FromAnsi(*body);
    return false;
  }

  const std::wstring path = ToWide(strSaveFile);
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              bHidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  FileTransferTally tally;
  bool written = true;
  std::string chunk;
  while (!m_bStop) {
    if (!transfer.NextChunk(chunk)) break;
    DWORD wrote = 0;
    const DWORD size = static_cast<DWORD>(chunk.size());
    // A full disk: what is on disk is no longer the payload.
    if (!g_writePayload(file.Get(), chunk.data(), size, &wrote) || wrote != size) {
      written = false;
      break;
    }
    if (!tally.AddChunk(size)) break;
    if (raise) m_events->Loading(tally.Received());
    if (!PumpPendingMessages()) break;
  }
  LARGE_INTEGER onDisk = {};
  const bool sized = GetFileSizeEx(file.Get(), &onDisk) != FALSE;
  file.Close();
  m_bWhole = written && !m_bStop && sized && tally.Received() == *total &&
             onDisk.QuadPart == static_cast<LONGLONG>(*total);
  return true;
}

}  // namespace kelvo
