#include "net/p256_curve.h"

#include <cstddef>

namespace kelvo {
namespace {

// 256-bit numbers as eight 32-bit limbs, least significant first. Plain
// shift-and-add arithmetic: the curve check runs once per key, not per
// signature, so speed does not matter and simplicity does.
using Number = std::array<uint32_t, 8>;

constexpr Number kPrime = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0x00000000,
                           0x00000000, 0x00000000, 0x00000001, 0xFFFFFFFF};
constexpr Number kB = {0x27D2604B, 0x3BCE3C3E, 0xCC53B0F6, 0x651D06B0,
                       0x769886BC, 0xB3EBBD55, 0xAA3A93E7, 0x5AC635D8};

Number FromBigEndian(const uint8_t* bytes) {
  Number n{};
  for (size_t i = 0; i < 32; ++i) n[7 - i / 4] |= uint32_t{bytes[i]} << (8 * (3 - i % 4));
  return n;
}

bool Below(const Number& a, const Number& b) {
  for (size_t i = 8; i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i];
  }
  return false;
}

// a - b, wrapping; whether it borrowed.
bool Subtract(Number& a, const Number& b) {
  uint64_t borrow = 0;
  for (size_t i = 0; i < 8; ++i) {
    const uint64_t difference = uint64_t{a[i]} - b[i] - borrow;
    a[i] = static_cast<uint32_t>(difference);
    borrow = difference >> 63;
  }
  return borrow != 0;
}

// a + b, wrapping; whether it carried.
bool Add(Number& a, const Number& b) {
  uint64_t carry = 0;
  for (size_t i = 0; i < 8; ++i) {
    carry += uint64_t{a[i]} + b[i];
    a[i] = static_cast<uint32_t>(carry);
    carry >>= 32;
  }
  return carry != 0;
}

// (a + b) mod p and (a - b) mod p for a, b below p.
Number AddMod(Number a, const Number& b) {
  if (Add(a, b) || !Below(a, kPrime)) Subtract(a, kPrime);
  return a;
}

Number SubMod(Number a, const Number& b) {
  if (Subtract(a, b)) Add(a, kPrime);
  return a;
}

Number MulMod(const Number& a, const Number& b) {
  Number product{};
  for (size_t bit = 256; bit-- > 0;) {
    product = AddMod(product, product);
    if ((b[bit / 32] >> (bit % 32)) & 1) product = AddMod(product, a);
  }
  return product;
}

}  // namespace

bool IsOnP256(const P256Point& point) {
  const Number x = FromBigEndian(point.data()), y = FromBigEndian(point.data() + 32);
  if (!Below(x, kPrime) || !Below(y, kPrime)) return false;
  const Number threeX = AddMod(AddMod(x, x), x);
  const Number right = AddMod(SubMod(MulMod(MulMod(x, x), x), threeX), kB);
  return MulMod(y, y) == right;
}

}  // namespace kelvo
