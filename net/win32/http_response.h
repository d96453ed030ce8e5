#pragma once
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>

#include "net/download_rules.h"

namespace kelvo {

// The body length to read from an opened request, or empty when the
// response is not one the download may take (status, length, size cap).
std::optional<int32_t> AcceptedResponseTotal(HINTERNET request, DownloadMode mode);

}  // namespace kelvo
