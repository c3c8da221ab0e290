#include "platform/win32/module_path.h"

namespace vekhor::platform {

// GetModuleFileNameW fills the buffer and truncates when the path is longer: grow until it fits.
std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace vekhor::platform
