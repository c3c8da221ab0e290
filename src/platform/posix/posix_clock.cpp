#include "platform/posix/posix_clock.h"

#include <ctime>

namespace vekhor::platform {

std::uint32_t PosixClock::SetSystemTime(const SystemTime&) {
  return kErrorPrivilegeNotHeld;
}

std::int64_t PosixClock::PreciseFileTime() {
  // FILETIME counts 100 ns intervals from 1601-01-01, 11644473600 s before the Unix epoch.
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return (static_cast<std::int64_t>(now.tv_sec) + kSecondsFrom1601To1970) * 10000000 +
         now.tv_nsec / 100;
}

// The boot clock, as QueryPerformanceCounter on Windows, counts the time asleep: the gap between
// two ticks then shows a wake-up.
std::int64_t PosixClock::MonotonicMicroseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

std::string PosixClock::DateText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

std::string PosixClock::NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32] = {};
  const bool midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
  std::strftime(text, sizeof text, midnight ? "%Y-%m-%d" : "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace vekhor::platform
