// The native build's clock. It never sets the host clock: the native build exists for tests.
#pragma once

#include "platform/clock.h"

namespace vekhor::platform {

class PosixClock final : public Clock {
 public:
  std::uint32_t SetSystemTime(const SystemTime& utc) override;
  std::int64_t PreciseFileTime() override;
  std::int64_t MonotonicMicroseconds() override;
  std::string NowText() override;
  std::string DateText() override;
};

}  // namespace vekhor::platform
