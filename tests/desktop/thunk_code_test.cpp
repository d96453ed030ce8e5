// The 32-bit trampoline run for real (the native-x86 preset, under qemu):
// the bytes the program writes, in executable memory, called as the system
// calls a window procedure.
#include "desktop/thunk_code.h"

#include <gtest/gtest.h>

#if defined(__i386__)
#include <sys/mman.h>

#include <cstring>

namespace kelvo {
namespace {

// What the handler saw on its last call.
struct Seen {
  uint32_t hWnd, uMsg, wParam;
  int32_t lParam;
};

extern "C" __attribute__((stdcall)) int32_t RecordingHandler(Seen* object, uint32_t hWnd,
                                                             uint32_t uMsg, uint32_t wParam,
                                                             int32_t lParam) {
  *object = {hWnd, uMsg, wParam, lParam};
  return static_cast<int32_t>((uMsg ^ wParam) - static_cast<uint32_t>(lParam));
}

// Pushes the four arguments right to left, calls `code` and reports how far
// esp moved across the call (a stdcall callee pops its arguments: 0).
extern "C" int32_t CallAsWindowProcedure(const void* code, const uint32_t* args, int32_t* moved);
asm(R"(
  .text
  .globl CallAsWindowProcedure
CallAsWindowProcedure:
  push %ebp
  mov %esp, %ebp
  push %ebx
  push %esi
  push %edi
  mov 12(%ebp), %esi
  mov %esp, %edi
  pushl 12(%esi)
  pushl 8(%esi)
  pushl 4(%esi)
  pushl (%esi)
  call *8(%ebp)
  mov %esp, %edx
  sub %edi, %edx
  mov 16(%ebp), %ecx
  mov %edx, (%ecx)
  mov %edi, %esp
  pop %edi
  pop %esi
  pop %ebx
  pop %ebp
  ret
)");

TEST(X86Trampoline, ReachesTheHandlerWithObjectArgumentsAndResultAndBalancesTheStack) {
  Seen seen{};
  const auto code = X86ThunkBytes(BuildX86ThunkWords(reinterpret_cast<uint32_t>(&seen),
                                                     reinterpret_cast<uint32_t>(RecordingHandler)));
  void* page = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(page, MAP_FAILED);
  std::memcpy(page, code.data(), code.size());
  ASSERT_EQ(mprotect(page, 4096, PROT_READ | PROT_EXEC), 0);
  for (uint32_t i = 0; i < 10000; ++i) {
    const uint32_t args[4] = {0x10000 + i, i * 7919u, 0xFFFFFFFFu - i, 0x80000000u + i * 3};
    int32_t moved = -1;
    const int32_t result = CallAsWindowProcedure(page, args, &moved);
    ASSERT_EQ(moved, 0) << i;
    ASSERT_EQ(result, static_cast<int32_t>((args[1] ^ args[2]) - args[3]));
    ASSERT_EQ(seen.hWnd, args[0]);
    ASSERT_EQ(seen.uMsg, args[1]);
    ASSERT_EQ(seen.wParam, args[2]);
    ASSERT_EQ(seen.lParam, static_cast<int32_t>(args[3]));
  }
  munmap(page, 4096);
}

}  // namespace
}  // namespace kelvo
#endif
