// The x86 trampoline's bytes run for real (native-x86, under qemu).
#include "desktop/thunk_code.h"

#include <gtest/gtest.h>
#if defined(__i386__)
#include <sys/mman.h>

#include <cstring>

namespace kelvo {
namespace {

extern "C" __attribute__((stdcall)) uint32_t Recorder(uint32_t* seen, uint32_t hWnd, uint32_t uMsg,
                                                      uint32_t wParam, uint32_t lParam) {
  seen[0] = hWnd, seen[1] = uMsg, seen[2] = wParam, seen[3] = lParam;
  return (uMsg ^ wParam) - lParam;
}

// Pushes args[3] to args[0], calls `code` and stores how far esp moved
// across the call (0: the callee popped its four arguments, as stdcall does).
extern "C" uint32_t CallWindowProcedure(const void* code, const uint32_t* args, int32_t* moved);
asm(".globl CallWindowProcedure\nCallWindowProcedure: push %ebp; mov %esp, %ebp; push %esi;"
    "push %edi; mov 12(%ebp), %esi; mov %esp, %edi; pushl 12(%esi); pushl 8(%esi);"
    "pushl 4(%esi); pushl (%esi); call *8(%ebp); mov %esp, %edx; sub %edi, %edx;"
    "mov 16(%ebp), %ecx; mov %edx, (%ecx); mov %edi, %esp; pop %edi; pop %esi; pop %ebp; ret");

TEST(X86Trampoline, ReachesTheHandlerWithObjectArgumentsAndResultAndBalancesTheStack) {
  uint32_t seen[4] = {};
  const auto code = X86ThunkBytes(
      BuildX86ThunkWords(reinterpret_cast<uint32_t>(seen), reinterpret_cast<uint32_t>(Recorder)));
  void* page = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  std::memcpy(page, code.data(), code.size());
  ASSERT_EQ(mprotect(page, 4096, PROT_READ | PROT_EXEC), 0);
  for (uint32_t i = 0; i < 10000; ++i) {
    const uint32_t args[4] = {0x10000 + i, i * 7919u, 0xFFFFFFFFu - i, 0x80000000u + i * 3};
    int32_t moved = -1;
    ASSERT_EQ(CallWindowProcedure(page, args, &moved), (args[1] ^ args[2]) - args[3]);
    ASSERT_EQ(moved, 0) << i;
    ASSERT_EQ(std::memcmp(seen, args, sizeof args), 0) << i;
  }
  munmap(page, 4096);
}

}  // namespace
}  // namespace kelvo
#endif
