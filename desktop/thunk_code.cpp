#include "desktop/thunk_code.h"

namespace kelvo {
namespace {

template <std::size_t N>
void PutLittleEndian(std::array<uint8_t, N>& out, std::size_t at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

X86ThunkWords BuildX86ThunkWords(uint32_t objectAddress, uint32_t handlerAddress) {
  return {
      0xB82434FFu,     // push dword [esp]; mov eax, ...
      objectAddress,   // ... object
      0x04244489u,     // mov [esp+4], eax
      0xB8909090u,     // nop nop nop; mov eax, ...
      handlerAddress,  // ... handler
      0x9090E0FFu,     // jmp eax; nop nop
  };
}

std::array<uint8_t, kX86ThunkWordCount * 4> X86ThunkBytes(const X86ThunkWords& words) {
  std::array<uint8_t, kX86ThunkWordCount * 4> bytes{};
  for (std::size_t i = 0; i < words.size(); ++i) PutLittleEndian(bytes, i * 4, words[i], 4);
  return bytes;
}

std::array<uint8_t, kX64ThunkSize> BuildX64ThunkCode(uint64_t objectAddress,
                                                     uint64_t handlerAddress) {
  std::array<uint8_t, kX64ThunkSize> code = {
      0x48, 0x83, 0xEC, kX64ThunkFrameSize,  //  0: sub rsp, 40
      0x4C, 0x89, 0x4C, 0x24,
      0x20,              //  4: mov [rsp+32], r9   lParam -> 5th
      0x4D, 0x89, 0xC1,  //  9: mov r9, r8         wParam -> 4th
      0x49, 0x89, 0xD0,  // 12: mov r8, rdx        uMsg   -> 3rd
      0x48, 0x89, 0xCA,  // 15: mov rdx, rcx       hWnd   -> 2nd
      0x48, 0xB9, 0,    0,
      0,    0,    0,    0,
      0,    0,  // 18: mov rcx, object    -> 1st
      0x48, 0xB8, 0,    0,
      0,    0,    0,    0,
      0,    0,                               // 28: mov rax, handler
      0xFF, 0xD0,                            // 38: call rax
      0x48, 0x83, 0xC4, kX64ThunkFrameSize,  // 40: add rsp, 40
      0xC3,                                  // 44: ret
      0xCC, 0xCC, 0xCC,                      // 45: int3 padding to 48
  };
  PutLittleEndian(code, 20, objectAddress, 8);
  PutLittleEndian(code, 30, handlerAddress, 8);
  return code;
}

std::array<uint8_t, kX64ThunkUnwindInfoSize> X64ThunkUnwindInfo() {
  // UWOP_ALLOC_SMALL (2) with OpInfo (40 - 8) / 8 = 4, at the end of the
  // 4-byte prolog. The code array is padded to an even count of slots.
  constexpr uint8_t kAllocSmall = 2;
  constexpr uint8_t kOpInfo = (kX64ThunkFrameSize - 8) / 8;
  return {
      0x01,                          // version 1, no flags
      kX64ThunkPrologSize,           // size of prolog
      0x01,                          // one unwind code
      0x00,                          // no frame register
      kX64ThunkPrologSize,           // code offset: end of the sub
      (kOpInfo << 4) | kAllocSmall,  // 0x42
      0x00,
      0x00,  // padding slot
  };
}

}  // namespace kelvo
