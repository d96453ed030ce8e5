#include "net/win32/kelvo_download_file.h"

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <vector>

#include "desktop/win32/platform_text.h"
#include "net/download_rules.h"
#include "net/win32/file_handle.h"
#include "net/win32/http_response.h"
#include "net/win32/internet_handle.h"
#include "net/win32/message_pump.h"

namespace kelvo {
namespace {

// Closes the request before the session, then raises Complete, whatever
// path the call took.
struct CallScope {
  DownLoadFileEvents* events;
  bool raise;
  InternetHandle session;
  InternetHandle request;
  ~CallScope() {
    request.Close();
    session.Close();
    if (raise && events) events->Complete();
  }
};

}  // namespace

bool CKelvoDownLoadFile::DownLoadFile(const std::string& strURLFile, const std::string& strSaveFile,
                                      bool bHidden, bool bRaiseEvent, bool bMakeFile,
                                      std::string& strFileData) {
  m_bStop = false;
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

  bool result = false;
  CallScope scope{m_events, raise, {}, {}};
  scope.session = InternetHandle(InternetOpenA(nullptr, 0, nullptr, nullptr, 0));
  if (!scope.session) return false;
  const std::wstring url = ToWide(strURLFile);
  scope.request = InternetHandle(
      InternetOpenUrlW(scope.session.Get(), url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  if (!scope.request) return false;
  HINTERNET request = scope.request.Get();

  const std::optional<int32_t> total =
      AcceptedResponseTotal(request, bMakeFile ? DownloadMode::File : DownloadMode::Memory);
  if (!total) return false;
  if (raise) m_events->QueryFileInfo(*total);

  if (bMakeFile) {
    const std::wstring path = ToWide(strSaveFile);
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS,
                                bHidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FileTransferTally tally;
    std::vector<char> chunk(kDownloadChunkSize);
    while (!m_bStop) {
      DWORD delivered = 0;
      if (!InternetReadFile(request, chunk.data(), kDownloadChunkSize, &delivered)) delivered = 0;
      if (delivered == 0) break;
      DWORD written = 0;
      WriteFile(file.Get(), chunk.data(), delivered, &written, nullptr);
      if (!tally.AddChunk(delivered)) break;
      if (raise) m_events->Loading(tally.Received());
      PumpPendingMessages();
    }
    file.Close();
    result = true;
  } else {
    // Sized from the accepted length, which is capped far below anything
    // that could exhaust memory.
    std::string buffer(static_cast<size_t>(*total), '\0');
    MemoryTransferTally tally(*total);
    for (;;) {
      DWORD delivered = 0;
      if (!InternetReadFile(request, buffer.data() + tally.Offset(),
                            static_cast<DWORD>(tally.NextReadSize()), &delivered)) {
        delivered = 0;
      }
      if (!tally.AddChunk(delivered)) break;
      PumpPendingMessages();
    }
    // A body cut short is not the file the server meant: a truncated
    // manifest would run a truncated script. Only a complete body is text.
    if (tally.Complete()) strFileData = m_bKeepRawBytes ? buffer : FromAnsi(buffer);
  }
  return result;
}

}  // namespace kelvo
