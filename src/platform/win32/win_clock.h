// The system clock through SetSystemTime, and the local time in the user's date and time forms.
#pragma once

#include "platform/clock.h"

namespace vekhor::platform {

// The system's general date form of a local time: the short date, a blank and the long time, as
// the user's regional settings give them; at exactly midnight the date alone.
std::string DateTimeText(const SystemTime& local);

class WinClock final : public Clock {
 public:
  WinClock();
  std::uint32_t SetSystemTime(const SystemTime& utc) override;
  std::int64_t PreciseFileTime() override;
  std::int64_t MonotonicMicroseconds() override;
  std::string NowText() override;
  std::string DateText() override;

 private:
  void* preciseTime_ = nullptr;        // GetSystemTimePreciseAsFileTime, where Windows has it
  std::int64_t counterFrequency_ = 1;  // QueryPerformanceFrequency: fixed at boot
};

}  // namespace vekhor::platform
