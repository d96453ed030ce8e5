#include "net/win32/http_transfer.h"

#include <wininet.h>

#include <atomic>
#include <mutex>
#include <utility>

#include "net/win32/http_response.h"
#include "net/win32/message_pump.h"

namespace kelvo {

// What the owner and the worker share. Every change the worker makes bumps
// `generation` and sets `changed`; every request of the owner sets `asked`.
struct TransferShared {
  std::mutex lock;
  HANDLE changed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE asked = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::wstring url;
  DownloadMode mode = DownloadMode::Memory;
  // Whoever takes a handle out of here closes it: the worker when it is
  // done, the owner when it gives up.
  HINTERNET session = nullptr;
  HINTERNET request = nullptr;
  uint64_t generation = 0;
  bool judged = false;
  std::optional<int32_t> total;
  // File mode: one chunk per request of the owner.
  int chunksAsked = 0;
  bool chunkReady = false;
  std::string chunk;
  // Memory mode.
  bool bodyDone = false;
  std::optional<std::string> body;
  bool givenUp = false;
  // The worker is inside a WinINet call on the handles. Only then does the
  // owner close them when it gives up (to end that call); otherwise the
  // worker sees the transfer given up before its next call and closes them
  // itself, so no call can ever reach a handle value already given back.
  bool inCall = false;

  ~TransferShared() {
    CloseHandle(changed);
    CloseHandle(asked);
  }
  // Under the lock: the worker's step is visible to the owner.
  void Changed() {
    ++generation;
    SetEvent(changed);
  }
  // Worker: false when the transfer was given up (make no call then).
  bool BeginCall() {
    std::lock_guard<std::mutex> hold(lock);
    inCall = !givenUp;
    return inCall;
  }
  void EndCall() {
    std::lock_guard<std::mutex> hold(lock);
    inCall = false;
  }
  // Closes the handles still here. The owner calls it only while the
  // worker is inside a call; the worker when it is done.
  void CloseHandles() {
    HINTERNET r = nullptr, s = nullptr;
    {
      std::lock_guard<std::mutex> hold(lock);
      r = std::exchange(request, nullptr);
      s = std::exchange(session, nullptr);
    }
    if (r) InternetCloseHandle(r);
    if (s) InternetCloseHandle(s);
  }
};

namespace {

// Workers still running, given up or not. WinINet does not end every
// pending call when its handles are closed (under Wine a request that the
// server never answers stays pending), so a server that never answers could
// otherwise gather a stuck thread at every retry.
constexpr int kMaxLiveWorkers = 8;
std::atomic<int> g_liveWorkers{0};

void ReadWholeBody(TransferShared& shared, HINTERNET request, int32_t total) {
  std::string body(static_cast<size_t>(total), '\0');
  MemoryTransferTally tally(total);
  for (;;) {
    if (!shared.BeginCall()) return;
    DWORD delivered = 0;
    if (!InternetReadFile(request, body.data() + tally.Offset(),
                          static_cast<DWORD>(tally.NextReadSize()), &delivered)) {
      delivered = 0;
    }
    shared.EndCall();
    const bool more = tally.AddChunk(delivered);
    std::lock_guard<std::mutex> hold(shared.lock);
    if (shared.givenUp) return;
    if (!more) {
      if (tally.Complete()) shared.body = std::move(body);
      shared.bodyDone = true;
      shared.Changed();
      return;
    }
    shared.Changed();
  }
}

void ReadChunksOnRequest(TransferShared& shared, HINTERNET request) {
  std::string chunk(kDownloadChunkSize, '\0');
  int served = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> hold(shared.lock);
      while (!shared.givenUp && shared.chunksAsked == served) {
        hold.unlock();
        WaitForSingleObject(shared.asked, INFINITE);
        hold.lock();
      }
      if (shared.givenUp) return;
    }
    if (!shared.BeginCall()) return;
    DWORD delivered = 0;
    if (!InternetReadFile(request, chunk.data(), kDownloadChunkSize, &delivered)) delivered = 0;
    shared.EndCall();
    std::lock_guard<std::mutex> hold(shared.lock);
    if (shared.givenUp) return;
    ++served;
    shared.chunk.assign(chunk.data(), delivered);
    shared.chunkReady = true;
    shared.Changed();
    if (delivered == 0) return;
  }
}

DWORD WINAPI TransferWorker(LPVOID parameter) {
  std::shared_ptr<TransferShared> shared(*static_cast<std::shared_ptr<TransferShared>*>(parameter));
  delete static_cast<std::shared_ptr<TransferShared>*>(parameter);
  TransferShared& s = *shared;

  HINTERNET session = InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (session) {
    // Where WinINet honours it, the request fails by itself as well.
    DWORD limit = kNoProgressLimitMs;
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &limit, sizeof limit);
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &limit, sizeof limit);
  }
  {
    std::lock_guard<std::mutex> hold(s.lock);
    if (s.givenUp || !session) {
      if (session) InternetCloseHandle(session);
      s.judged = true;
      s.Changed();
      return 0;
    }
    s.session = session;
  }
  HINTERNET request = nullptr;
  if (s.BeginCall()) {
    request = InternetOpenUrlW(session, s.url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    s.EndCall();
  }
  std::optional<int32_t> total;
  {
    std::lock_guard<std::mutex> hold(s.lock);
    s.request = request;
  }
  if (request && s.BeginCall()) {
    total = AcceptedResponseTotal(request, s.mode);
    s.EndCall();
  }
  {
    std::lock_guard<std::mutex> hold(s.lock);
    if (s.givenUp) total.reset();
    s.total = total;
    s.judged = true;
    s.Changed();
  }
  if (total) {
    if (s.mode == DownloadMode::Memory) {
      ReadWholeBody(s, request, *total);
    } else {
      ReadChunksOnRequest(s, request);
    }
  }
  s.CloseHandles();
  return 0;
}

DWORD WINAPI CountedTransferWorker(LPVOID parameter) {
  const DWORD result = TransferWorker(parameter);
  g_liveWorkers.fetch_sub(1, std::memory_order_acq_rel);
  return result;
}

}  // namespace

HttpTransfer::HttpTransfer(DownloadMode mode, Waiting waiting)
    : m_shared(std::make_shared<TransferShared>()), m_mode(mode), m_waiting(waiting) {
  m_shared->mode = mode;
}

HttpTransfer::~HttpTransfer() {
  GiveUp();
}

std::optional<int32_t> HttpTransfer::Open(const std::wstring& url) {
  m_shared->url = url;
  // Too many workers stuck on earlier requests: this one fails at once and
  // is retried on the usual schedule.
  if (g_liveWorkers.fetch_add(1, std::memory_order_acq_rel) >= kMaxLiveWorkers) {
    g_liveWorkers.fetch_sub(1, std::memory_order_acq_rel);
    return std::nullopt;
  }
  auto* hold = new std::shared_ptr<TransferShared>(m_shared);
  HANDLE thread = CreateThread(nullptr, 0, CountedTransferWorker, hold, 0, nullptr);
  if (!thread) {
    g_liveWorkers.fetch_sub(1, std::memory_order_acq_rel);
    delete hold;
    return std::nullopt;
  }
  CloseHandle(thread);
  uint64_t seen = 0;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(m_shared->lock);
      if (m_shared->judged) return m_shared->total;
      seen = m_shared->generation;
    }
    if (!AwaitProgress(seen)) return std::nullopt;
  }
}

std::optional<std::string> HttpTransfer::Body() {
  for (;;) {
    uint64_t seen = 0;
    {
      std::lock_guard<std::mutex> lock(m_shared->lock);
      if (m_shared->bodyDone) return std::move(m_shared->body);
      seen = m_shared->generation;
    }
    if (!AwaitProgress(seen)) return std::nullopt;
  }
}

bool HttpTransfer::NextChunk(std::string& chunk) {
  uint64_t seen = 0;
  {
    std::lock_guard<std::mutex> lock(m_shared->lock);
    if (m_shared->givenUp) return false;
    m_shared->chunkReady = false;
    ++m_shared->chunksAsked;
    seen = m_shared->generation;
  }
  SetEvent(m_shared->asked);
  for (;;) {
    if (!AwaitProgress(seen)) return false;
    std::lock_guard<std::mutex> lock(m_shared->lock);
    if (m_shared->chunkReady) {
      chunk = std::move(m_shared->chunk);
      return !chunk.empty();
    }
    seen = m_shared->generation;
  }
}

bool HttpTransfer::AwaitProgress(uint64_t generation) {
  const DWORD start = GetTickCount();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(m_shared->lock);
      if (m_shared->givenUp) return false;
      if (m_shared->generation != generation) return true;
    }
    const DWORD waited = GetTickCount() - start;
    if (waited >= kNoProgressLimitMs) break;
    const DWORD left = kNoProgressLimitMs - waited;
    if (m_waiting == Waiting::Block) {
      WaitForSingleObject(m_shared->changed, left);
      continue;
    }
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(1, &m_shared->changed, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0 + 1 && !PumpPendingMessages()) {
      m_quitSeen = true;
      break;
    }
  }
  GiveUp();
  return false;
}

void HttpTransfer::GiveUp() {
  bool callPending = false;
  {
    std::lock_guard<std::mutex> lock(m_shared->lock);
    if (m_shared->givenUp) return;
    m_shared->givenUp = true;
    callPending = m_shared->inCall;
  }
  SetEvent(m_shared->asked);
  // Closing the handles ends a call still pending on the worker, where
  // WinINet allows it; the worker then finds the transfer given up.
  if (callPending) m_shared->CloseHandles();
}

}  // namespace kelvo
