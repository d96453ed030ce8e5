#include "net/win32/mod_gg.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <optional>
#include <string_view>

#include "desktop/win32/platform_text.h"
#include "kelvo_version.h"
#include "net/download_rules.h"
#include "net/win32/http_response.h"
#include "net/win32/internet_handle.h"
#include "net/win32/trusted_download.h"

namespace kelvo {

struct GGFetchState {
  // GGLoaded: set once, after GGData holds the whole list.
  std::atomic<bool> loaded{false};
  // Taken by the first fetch that completes; only that one writes GGData.
  std::atomic<bool> claimed{false};
  std::atomic<int> inFlight{0};
  std::string data;

  void Publish(std::string&& bytes) {
    if (claimed.exchange(true, std::memory_order_acq_rel)) return;
    data = std::move(bytes);
    loaded.store(true, std::memory_order_release);
  }
};

namespace {

// What one fetch thread owns: its URL and a hold on the shared state.
struct FetchJob {
  std::shared_ptr<GGFetchState> shared;
  std::wstring url;
};

// Reads the whole body of `url` into `body`; false unless the server
// answered 200 with a usable Content-Length and every byte of it arrived.
bool FetchWhole(const std::wstring& url, std::string& body) {
  InternetHandle session(InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  InternetHandle request(
      InternetOpenUrlW(session.Get(), url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  if (!request) return false;

  const std::optional<int32_t> total = AcceptedResponseTotal(request.Get(), DownloadMode::Memory);
  if (!total) return false;

  body.assign(static_cast<size_t>(*total), '\0');
  MemoryTransferTally tally(*total);
  for (;;) {
    DWORD delivered = 0;
    if (!InternetReadFile(request.Get(), body.data() + tally.Offset(),
                          static_cast<DWORD>(tally.NextReadSize()), &delivered)) {
      delivered = 0;
    }
    if (!tally.AddChunk(delivered)) break;
  }
  // The request handle closes before the session (reverse order of birth).
  return tally.Complete();
}

DWORD WINAPI GGFetchThread(LPVOID parameter) {
  std::unique_ptr<FetchJob> job(static_cast<FetchJob*>(parameter));
  std::string body;
  const auto fetchSignature = [&job]() -> std::optional<std::string> {
    std::string signature;
    if (!FetchWhole(job->url + ToWide(kSignatureSuffix), signature)) return std::nullopt;
    return signature;
  };
  if (FetchWhole(job->url, body) && SignatureAccepted(body, fetchSignature)) {
    job->shared->Publish(std::move(body));
  }
  // Last: whoever waits for the fetches to end sees their outcome first.
  job->shared->inFlight.fetch_sub(1, std::memory_order_acq_rel);
  return 0;
}

bool MachineIsOnline() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

}  // namespace

GGFetch::GGFetch() : shared_(std::make_shared<GGFetchState>()) {}

void GGFetch::Start(const std::string& url) {
  if (Loaded()) return;
  if (!MachineIsOnline()) return;
  // Only this (the interface) thread adds, so the check and the add below
  // cannot race with another start.
  if (shared_->inFlight.load(std::memory_order_acquire) >= kMaxGGFetchesInFlight) return;

  auto job = std::make_unique<FetchJob>(FetchJob{shared_, ToWide(url)});
  shared_->inFlight.fetch_add(1, std::memory_order_acq_rel);
  HANDLE thread = CreateThread(nullptr, 0, GGFetchThread, job.get(), 0, nullptr);
  if (!thread) {
    shared_->inFlight.fetch_sub(1, std::memory_order_acq_rel);
    return;
  }
  job.release();  // the thread owns it now
  // Nothing waits for the thread; it ends by itself.
  CloseHandle(thread);
}

bool GGFetch::Loaded() const {
  return shared_->loaded.load(std::memory_order_acquire);
}

const std::string& GGFetch::Data() const {
  static const std::string kNothing;
  return Loaded() ? shared_->data : kNothing;
}

int GGFetch::InFlight() const {
  return shared_->inFlight.load(std::memory_order_acquire);
}

namespace {

// Never destroyed: a fetch thread may still be running while the process
// runs its exit handlers.
GGFetch& ProcessFetch() {
  static GGFetch* const fetch = new GGFetch();
  return *fetch;
}

}  // namespace

std::string GGListUrl() {
  return std::string("http://") + KELVO_SERVER_HOST + "/myapp/KelvoCalendar/GGList.txt";
}

void StartGGFetch() {
  ProcessFetch().Start(GGListUrl());
}

bool GGLoaded() {
  return ProcessFetch().Loaded();
}

const std::string& GGData() {
  return ProcessFetch().Data();
}

std::string GGText() {
  return FromAnsi(GGData());
}

}  // namespace kelvo
