#pragma once
#include <string_view>

namespace kelvo {

// The maker's public key (PEM) built into the program from the build
// setting KELVO_UPDATE_KEY; empty when the build has none. Defined in a
// generated source of its own, so a test program can carry another key.
std::string_view BuiltInUpdateKey();

}  // namespace kelvo
