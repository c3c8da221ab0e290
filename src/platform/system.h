// The real platform of the running system: Win32 in Vekhor.exe, POSIX in the native build.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vekhor::platform {

// Owns the backend objects that `platform` refers to.
class SystemPlatform {
 public:
  virtual ~SystemPlatform() = default;
  virtual Platform& platform() = 0;
};

std::unique_ptr<SystemPlatform> MakeSystemPlatform();

// The registry of this backend: advapi32 on Win32, an in-memory registry on POSIX.
std::unique_ptr<Registry> MakeSystemRegistry();

}  // namespace vekhor::platform
