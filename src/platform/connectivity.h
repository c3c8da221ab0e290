// The WinINet connected-state query.
#pragma once

#include <cstdint>

namespace vekhor::platform {

class Connectivity {
 public:
  virtual ~Connectivity() = default;
  virtual bool InternetGetConnectedState(std::uint32_t& flags) = 0;
};

}  // namespace vekhor::platform
