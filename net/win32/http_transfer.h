#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/download_rules.h"

namespace kelvo {

// A request that has delivered nothing for this long has failed. WinINet
// under Wine has no receive timeout of its own, so the waiting side keeps
// the clock.
inline constexpr DWORD kNoProgressLimitMs = 30000;

struct TransferShared;

// One HTTP GET whose blocking WinINet calls (session, request, header
// queries, reads) run on a worker thread of their own. The owner waits for
// each step on its own thread: the interface thread lets its messages run
// meanwhile (Waiting::Pump), a background thread simply blocks
// (Waiting::Block). Either way a step that brings no bytes for
// kNoProgressLimitMs fails, and so does the step during which the pump met
// the quit request.
//
// The worker shares nothing with the owner but a reference-counted block,
// so a worker still stuck in a read after its owner gave up (or went away)
// finishes into that block and ends; the owner closes the internet handles
// when it gives up, which ends a pending read where WinINet allows it. At
// most a few workers live at once; beyond that a new request fails at once.
//
// Memory mode: the worker reads the whole body itself. File mode: the
// worker reads one chunk each time the owner asks for it, so the owner can
// write it, raise its events and stop between chunks.
class HttpTransfer {
 public:
  enum class Waiting { Pump, Block };

  HttpTransfer(DownloadMode mode, Waiting waiting);
  // Gives up a transfer that is still running.
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Starts the worker on `url` and waits until the response has been judged
  // (status 200 and a usable Content-Length, see AcceptedTotal): its total,
  // or empty when the response is not taken or the step failed.
  std::optional<int32_t> Open(const std::wstring& url);
  // Memory mode, after Open: the whole body, or empty when it did not
  // arrive whole.
  std::optional<std::string> Body();
  // File mode, after Open: reads the next chunk into `chunk`; false at the
  // end of the body, when the connection closed, or when the step failed.
  bool NextChunk(std::string& chunk);
  // True once a pump met the quit request; it is left for the thread's loop.
  bool QuitSeen() const { return m_quitSeen; }

 private:
  // Waits until the worker has moved past `generation`; false on timeout
  // or quit, after which the transfer is given up.
  bool AwaitProgress(uint64_t generation);
  void GiveUp();

  std::shared_ptr<TransferShared> m_shared;
  DownloadMode m_mode;
  Waiting m_waiting;
  bool m_quitSeen = false;
};

}  // namespace kelvo
