// The connected state as WinINet reports it.
#pragma once

#include "platform/connectivity.h"

namespace vekhor::platform {

class WinConnectivity final : public Connectivity {
 public:
  bool InternetGetConnectedState(std::uint32_t& flags) override;
};

}  // namespace vekhor::platform
