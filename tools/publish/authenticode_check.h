#pragma once
#include <string>

namespace kelvo::publish {

// Whether `osslsigncode verify` finds a valid Authenticode signature on the
// Windows program `file`, chained to the system's certificate authorities
// or, when `caFile` is not empty, to those in that file. False also when
// osslsigncode cannot be run.
bool AuthenticodeVerifies(const std::string& file, const std::string& caFile);

}  // namespace kelvo::publish
