// The system clock through SetSystemTime, and the local time in the user's date and time forms.
#pragma once

#include "platform/clock.h"

namespace vekhor::platform {

class WinClock final : public Clock {
 public:
  std::uint32_t SetSystemTime(const SystemTime& utc) override;
  std::string NowText() override;
};

}  // namespace vekhor::platform
