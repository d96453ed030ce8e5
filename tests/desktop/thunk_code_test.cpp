#include "desktop/thunk_code.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(X86Thunk, WordsCarryObjectAndHandlerInTheirSlots) {
  const X86ThunkWords words = BuildX86ThunkWords(0x12345678u, 0x9ABCDEF0u);
  const X86ThunkWords expected = {0xB82434FFu, 0x12345678u, 0x04244489u,
                                  0xB8909090u, 0x9ABCDEF0u, 0x9090E0FFu};
  EXPECT_EQ(words, expected);
}

TEST(X86Thunk, BytesAreTheInstructionsInMemoryOrder) {
  const auto bytes = X86ThunkBytes(BuildX86ThunkWords(0x00403020u, 0x10002000u));
  const std::array<uint8_t, 24> expected = {
      0xFF, 0x34, 0x24,              // push dword [esp]
      0xB8, 0x20, 0x30, 0x40, 0x00,  // mov eax, 0x00403020
      0x89, 0x44, 0x24, 0x04,        // mov [esp+4], eax
      0x90, 0x90, 0x90,              // nop x3
      0xB8, 0x00, 0x20, 0x00, 0x10,  // mov eax, 0x10002000
      0xFF, 0xE0,                    // jmp eax
      0x90, 0x90,                    // nop x2
  };
  EXPECT_EQ(bytes, expected);
}

TEST(X64Thunk, CodeShiftsArgumentsAndCallsHandlerWithAlignedFrame) {
  const auto code = BuildX64ThunkCode(0x1122334455667788ull, 0x0102030405060708ull);
  const std::array<uint8_t, 48> expected = {
      0x48, 0x83, 0xEC, 0x28,                                      // sub rsp, 40
      0x4C, 0x89, 0x4C, 0x24, 0x20,                                // mov [rsp+32], r9
      0x4D, 0x89, 0xC1,                                            // mov r9, r8
      0x49, 0x89, 0xD0,                                            // mov r8, rdx
      0x48, 0x89, 0xCA,                                            // mov rdx, rcx
      0x48, 0xB9, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11,  // mov rcx, object
      0x48, 0xB8, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // mov rax, handler
      0xFF, 0xD0,                                                  // call rax
      0x48, 0x83, 0xC4, 0x28,                                      // add rsp, 40
      0xC3,                                                        // ret
      0xCC, 0xCC, 0xCC,                                            // padding
  };
  EXPECT_EQ(code, expected);
}

TEST(X64Thunk, FrameKeepsTheCallAlignedAndLeavesRoomForFiveArguments) {
  // On entry rsp is 8 past a 16-byte boundary (the pushed return address).
  EXPECT_EQ((8 + kX64ThunkFrameSize) % 16, 0u);
  // 32 bytes of shadow space plus one slot for the fifth argument.
  EXPECT_GE(kX64ThunkFrameSize, 40u);
}

TEST(X64Thunk, UnwindInfoDescribesTheStackAllocation) {
  const std::array<uint8_t, 8> expected = {0x01, 0x04, 0x01, 0x00, 0x04, 0x42, 0x00, 0x00};
  EXPECT_EQ(X64ThunkUnwindInfo(), expected);
}

}  // namespace
}  // namespace kelvo
