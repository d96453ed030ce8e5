#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kelvo {

// A slow or stalled server can hold fetch threads for a long time; beyond
// this many still running, a retry starts nothing and waits for the next
// network step.
inline constexpr int kMaxGGFetchesInFlight = 4;

struct GGFetchState;

// The fetch state of one announcement list: the fetch threads, the buffer
// they deliver and the loaded flag.
//
// Every fetch runs on its own thread with its own copy of the URL and its
// own buffer, so fetches never share anything while they read. A fetch that
// received the whole body publishes its buffer whole: the first one to
// finish claims the slot and moves its bytes into GGData, then sets GGLoaded
// with release order; later finishers throw theirs away. After GGLoaded is
// set GGData never changes again. A connection that ends before the full
// Content-Length publishes nothing.
//
// The state is shared with the threads, so an instance may go away while
// its fetches still run; they finish into the shared state and end.
class GGFetch {
 public:
  // `accept`, when given, judges a whole body on the fetch thread before it
  // is published; a refused body counts as not arrived.
  explicit GGFetch(std::function<bool(std::string_view)> accept = nullptr);
  GGFetch(const GGFetch&) = delete;
  GGFetch& operator=(const GGFetch&) = delete;

  // Starts a fetch of `url` on a new thread and returns at once. Does
  // nothing once the list is loaded or while kMaxGGFetchesInFlight fetches
  // are still running. The thread asks whether the machine is online and
  // ends at once when not. A fetch that gets no bytes for 30 s fails.
  void Start(const std::string& url);
  // The loaded flag, read with acquire order.
  bool Loaded() const;
  // The list's raw bytes (ANSI code page). Only valid once Loaded() has
  // returned true; empty before.
  const std::string& Data() const;
  // The signature fetched beside the body (empty without a built-in key);
  // valid like Data().
  const std::string& Signature() const;
  // Once the list is loaded, the loading thread posts `message` with
  // `wParam` to `window`, so its owner need not poll.
  void NotifyWhenLoaded(HWND window, UINT message, WPARAM wParam);
  // Fetch threads started and not yet ended.
  int InFlight() const;

 private:
  std::shared_ptr<GGFetchState> shared_;
};

// ModGG: the program's one announcement fetch, alive for the whole process.
// It publishes only a list with at least one web-address entry
// (HasKeptAnnouncement).

// "http://" + the server host + "/myapp/KelvoCalendar/GGList.txt".
std::string GGListUrl();
// Starts fetching GGListUrl() in the background (see GGFetch::Start).
void StartGGFetch();
// True once the list has arrived whole (acquire).
bool GGLoaded();
// The raw list; valid once GGLoaded() returned true.
const std::string& GGData();
// The kept entries of GGData (web addresses only) decoded with the ANSI
// code page, as UTF-8.
std::string GGText();
// See GGFetch::NotifyWhenLoaded.
void NotifyWhenGGLoaded(HWND window, UINT message, WPARAM wParam);

}  // namespace kelvo
