#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace kelvo {

// Machine code of the per-window trampoline that turns the platform's
// four-argument window procedure call into a call of
// SubclassProc(object, hWnd, uMsg, wParam, lParam). Generated here, free of
// any platform, so the exact bytes can be checked anywhere; the Win32 layer
// copies them into executable memory.

// 32-bit x86: six little-endian words. The code duplicates the return
// address, overwrites the original slot with the object address (which
// becomes the first stdcall argument) and jumps to the handler, which pops
// all five arguments itself.
inline constexpr std::size_t kX86ThunkWordCount = 6;
using X86ThunkWords = std::array<uint32_t, kX86ThunkWordCount>;
X86ThunkWords BuildX86ThunkWords(uint32_t objectAddress, uint32_t handlerAddress);
// The same code as bytes, in memory order.
std::array<uint8_t, kX86ThunkWordCount * 4> X86ThunkBytes(const X86ThunkWords& words);

// x86-64 (Microsoft convention): the four arguments arrive in rcx, rdx, r8,
// r9. The handler needs five, so the trampoline cannot simply jump: it makes
// a 40-byte frame (32 bytes of shadow space plus the fifth argument slot,
// which also restores 16-byte alignment), moves the arguments one register
// up, stores lParam as the fifth argument, calls and returns the result in
// rax untouched.
inline constexpr std::size_t kX64ThunkSize = 48;
inline constexpr std::size_t kX64ThunkPrologSize = 4;  // sub rsp, 40
inline constexpr uint8_t kX64ThunkFrameSize = 40;
std::array<uint8_t, kX64ThunkSize> BuildX64ThunkCode(uint64_t objectAddress,
                                                     uint64_t handlerAddress);
// Unwind data (UNWIND_INFO) describing that prolog, so the system can walk
// the stack through the trampoline (exceptions, debuggers, crash reports).
inline constexpr std::size_t kX64ThunkUnwindInfoSize = 8;
std::array<uint8_t, kX64ThunkUnwindInfoSize> X64ThunkUnwindInfo();

}  // namespace kelvo
