// The connected state as WinINet reports it.
#pragma once

#include "platform/connectivity.h"
#include "platform/win32/system_library.h"

namespace vekhor::platform {

class WinConnectivity final : public Connectivity {
 public:
  bool InternetGetConnectedState(std::uint32_t& flags) override;

 private:
  SystemLibrary wininet_{L"wininet.dll"};
};

}  // namespace vekhor::platform
