#pragma once
#include "net/signature_format.h"

namespace kelvo {

// Whether X and Y are numbers below the field's prime that satisfy
// y^2 = x^3 - 3x + b of P-256. A key file carrying any other point is
// damaged or forged; no signature could be checked against it.
bool IsOnP256(const P256Point& point);

}  // namespace kelvo
