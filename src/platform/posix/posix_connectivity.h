// The connected state from the interfaces: one that is up and running and not loopback.
#pragma once

#include "platform/connectivity.h"

namespace vekhor::platform {

class PosixConnectivity final : public Connectivity {
 public:
  bool InternetGetConnectedState(std::uint32_t& flags) override;
};

}  // namespace vekhor::platform
