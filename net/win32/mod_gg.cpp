#include "net/win32/mod_gg.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string_view>

#include "desktop/win32/platform_text.h"
#include "kelvo_version.h"
#include "net/answer_rules.h"
#include "net/download_rules.h"
#include "net/win32/http_transfer.h"
#include "net/win32/trusted_download.h"

namespace kelvo {

struct GGFetchState {
  // GGLoaded: set once, after GGData holds the whole list.
  std::atomic<bool> loaded{false};
  // Taken by the first fetch that completes; only that one writes GGData.
  std::atomic<bool> claimed{false};
  std::atomic<int> inFlight{0};
  std::string data;
  std::string signature;
  // Set before any fetch starts; read by the fetch threads only.
  std::function<bool(std::string_view)> accept;
  std::atomic<HWND> notifyWindow{nullptr};
  std::atomic<UINT> notifyMessage{0};
  std::atomic<WPARAM> notifyParam{0};

  void Publish(std::string&& bytes, std::string&& signatureBytes) {
    if (claimed.exchange(true, std::memory_order_acq_rel)) return;
    data = std::move(bytes);
    signature = std::move(signatureBytes);
    loaded.store(true, std::memory_order_release);
    // The calendar's timer sleeps until its next step; wake it now.
    if (HWND window = notifyWindow.load(std::memory_order_acquire)) {
      PostMessageW(window, notifyMessage.load(), notifyParam.load(), 0);
    }
  }
};

namespace {

// What one fetch thread owns: its URL and a hold on the shared state.
struct FetchJob {
  std::shared_ptr<GGFetchState> shared;
  std::wstring url;
};

// Reads the whole body of `url` into `body`; false unless the server
// answered 200 with a usable Content-Length and every byte of it arrived
// without a 30 s pause.
bool FetchWhole(const std::wstring& url, std::string& body) {
  HttpTransfer transfer(DownloadMode::Memory, HttpTransfer::Waiting::Block);
  if (!transfer.Open(url)) return false;
  std::optional<std::string> whole = transfer.Body();
  if (!whole) return false;
  body = std::move(*whole);
  return true;
}

bool MachineIsOnline() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

DWORD WINAPI GGFetchThread(LPVOID parameter) {
  std::unique_ptr<FetchJob> job(static_cast<FetchJob*>(parameter));
  std::string body, signature;
  // With a maker's key built in, the list counts only with its signature.
  const auto fetchSignature = [&]() -> std::optional<std::string> {
    if (!FetchWhole(job->url + ToWide(kSignatureSuffix), signature)) return std::nullopt;
    return signature;
  };
  if (MachineIsOnline() && FetchWhole(job->url, body) &&
      (!job->shared->accept || job->shared->accept(body)) &&
      SignatureAccepted(body, fetchSignature)) {
    job->shared->Publish(std::move(body), std::move(signature));
  }
  // Last: whoever waits for the fetches to end sees their outcome first.
  job->shared->inFlight.fetch_sub(1, std::memory_order_acq_rel);
  return 0;
}

}  // namespace

GGFetch::GGFetch(std::function<bool(std::string_view)> accept)
    : shared_(std::make_shared<GGFetchState>()) {
  shared_->accept = std::move(accept);
}

void GGFetch::Start(const std::string& url) {
  if (Loaded()) return;
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

const std::string& GGFetch::Signature() const {
  static const std::string kNothing;
  return Loaded() ? shared_->signature : kNothing;
}

void GGFetch::NotifyWhenLoaded(HWND window, UINT message, WPARAM wParam) {
  shared_->notifyMessage.store(message);
  shared_->notifyParam.store(wParam);
  shared_->notifyWindow.store(window, std::memory_order_release);
}

int GGFetch::InFlight() const {
  return shared_->inFlight.load(std::memory_order_acquire);
}

namespace {

// Never destroyed: a fetch thread may still be running while the process
// runs its exit handlers.
GGFetch& ProcessFetch() {
  // A page that is no list (a captive portal's login page) has not
  // arrived: the next network step fetches again.
  static GGFetch* const fetch = new GGFetch(&HasKeptAnnouncement);
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
  return FromAnsi(KeptAnnouncements(GGData()));
}

void NotifyWhenGGLoaded(HWND window, UINT message, WPARAM wParam) {
  ProcessFetch().NotifyWhenLoaded(window, message, wParam);
}

}  // namespace kelvo
