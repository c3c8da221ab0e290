// The full path of a loaded module's file, however long.
#pragma once

#include <windows.h>

#include <string>

namespace vekhor::platform {

// Empty when Windows cannot say.
std::wstring ModulePath(HMODULE module);

}  // namespace vekhor::platform
