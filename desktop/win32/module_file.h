#pragma once
#include <string>

namespace kelvo {

// The full path of the running executable, as the platform reports it
// (UTF-8); empty when the platform cannot say.
std::string RunningModuleFileName();

}  // namespace kelvo
