#include "platform/win32/system_library.h"

#include <windows.h>

namespace vekhor::platform {

SystemLibrary::~SystemLibrary() {
  if (module_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(module_));
}

void* SystemLibrary::Address(const char* name) {
  if (!tried_) {
    tried_ = true;
    module_ = ::LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  if (module_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module_), name));
}

}  // namespace vekhor::platform
