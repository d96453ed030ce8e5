#pragma once
#include <cstdint>

namespace kelvo {

// One page of memory that holds a window trampoline and that the processor
// is allowed to run. The code is written while the page is read-write and
// then switched to execute-read, so the page is never writable and
// executable at once. On x64 the page also carries the trampoline's unwind
// data, registered with the system for the page's lifetime.
class TrampolineMemory {
 public:
  TrampolineMemory() = default;
  ~TrampolineMemory();
  TrampolineMemory(TrampolineMemory&& other) noexcept;
  TrampolineMemory& operator=(TrampolineMemory&& other) noexcept;
  TrampolineMemory(const TrampolineMemory&) = delete;
  TrampolineMemory& operator=(const TrampolineMemory&) = delete;

  // Writes the trampoline that passes `objectAddress` to `handlerAddress`
  // and returns its entry point, or nullptr when no executable memory could
  // be had. The page is allocated on first use and reused afterwards.
  void* Place(uintptr_t objectAddress, uintptr_t handlerAddress);

 private:
  void Release() noexcept;
  void* m_Page = nullptr;
};

}  // namespace kelvo
