#include "desktop/win32/module_file.h"

#include <windows.h>

#include "desktop/win32/platform_text.h"

namespace kelvo {

std::string RunningModuleFileName() {
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length < module.size()) {
      module.resize(length);
      return FromWide(module);
    }
    module.resize(module.size() * 2);  // cut short: try a larger buffer
  }
}

}  // namespace kelvo
