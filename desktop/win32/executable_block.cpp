#include "desktop/win32/executable_block.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "desktop/thunk_code.h"

namespace kelvo {
namespace {

constexpr SIZE_T kPageSize = 4096;

#if defined(_M_X64) || defined(__x86_64__)
// Page layout: code, then its UNWIND_INFO, then the one-entry function
// table that points at both (offsets are relative to the page).
constexpr std::size_t kUnwindOffset = kX64ThunkSize;
constexpr std::size_t kFunctionTableOffset = kUnwindOffset + kX64ThunkUnwindInfoSize;

RUNTIME_FUNCTION* FunctionTable(void* page) {
  return reinterpret_cast<RUNTIME_FUNCTION*>(static_cast<uint8_t*>(page) + kFunctionTableOffset);
}

void PrepareNewPage(void* page) {
  const auto unwind = X64ThunkUnwindInfo();
  std::memcpy(static_cast<uint8_t*>(page) + kUnwindOffset, unwind.data(), unwind.size());
  RUNTIME_FUNCTION* table = FunctionTable(page);
  table->BeginAddress = 0;
  table->EndAddress = static_cast<DWORD>(kX64ThunkSize);
  table->UnwindData = static_cast<DWORD>(kUnwindOffset);
  RtlAddFunctionTable(table, 1, reinterpret_cast<DWORD64>(page));
}

void ForgetPage(void* page) {
  RtlDeleteFunctionTable(FunctionTable(page));
}

void WriteCode(void* page, uintptr_t objectAddress, uintptr_t handlerAddress) {
  const auto code = BuildX64ThunkCode(objectAddress, handlerAddress);
  std::memcpy(page, code.data(), code.size());
}
#else
void PrepareNewPage(void*) {}
void ForgetPage(void*) {}

void WriteCode(void* page, uintptr_t objectAddress, uintptr_t handlerAddress) {
  const auto code = X86ThunkBytes(BuildX86ThunkWords(static_cast<uint32_t>(objectAddress),
                                                     static_cast<uint32_t>(handlerAddress)));
  std::memcpy(page, code.data(), code.size());
}
#endif

}  // namespace

TrampolineMemory::~TrampolineMemory() {
  Release();
}

TrampolineMemory::TrampolineMemory(TrampolineMemory&& other) noexcept
    : m_Page(std::exchange(other.m_Page, nullptr)) {}

TrampolineMemory& TrampolineMemory::operator=(TrampolineMemory&& other) noexcept {
  if (this != &other) {
    Release();
    m_Page = std::exchange(other.m_Page, nullptr);
  }
  return *this;
}

void* TrampolineMemory::Place(uintptr_t objectAddress, uintptr_t handlerAddress) {
  DWORD previous = 0;
  if (m_Page == nullptr) {
    void* page = VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (page == nullptr) return nullptr;
    m_Page = page;
    PrepareNewPage(m_Page);
  } else if (!VirtualProtect(m_Page, kPageSize, PAGE_READWRITE, &previous)) {
    return nullptr;
  }
  WriteCode(m_Page, objectAddress, handlerAddress);
  if (!VirtualProtect(m_Page, kPageSize, PAGE_EXECUTE_READ, &previous)) return nullptr;
  FlushInstructionCache(GetCurrentProcess(), m_Page, kPageSize);
  return m_Page;
}

void TrampolineMemory::Release() noexcept {
  if (m_Page == nullptr) return;
  ForgetPage(m_Page);
  VirtualFree(m_Page, 0, MEM_RELEASE);
  m_Page = nullptr;
}

}  // namespace kelvo
