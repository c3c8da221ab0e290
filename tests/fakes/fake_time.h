// Time as the fakes see it: the true time, how far the machine's clock is off from it, and a
// monotonic count. Only the fake network moves it on, so runs over fakes are exact and instant.
#pragma once

#include <cstdint>

namespace vekhor::fakes {

// 2026-12-01 00:00:00 UTC in microseconds since 1900-01-01.
inline constexpr std::int64_t kFakeTrueStartUs = 3973536000LL * 1000000;

struct FakeTime {
  std::int64_t monotonicUs = 7000000000;
  std::int64_t trueUs = kFakeTrueStartUs;  // microseconds since 1900-01-01 00:00 UTC
  std::int64_t localErrorUs = 0;           // the machine's clock minus the true time

  std::int64_t LocalUs() const { return trueUs + localErrorUs; }
  void Advance(std::int64_t us) {
    monotonicUs += us;
    trueUs += us;
  }
  void AdvanceTo(std::int64_t monotonic) {
    if (monotonic > monotonicUs) Advance(monotonic - monotonicUs);
  }
};

}  // namespace vekhor::fakes
