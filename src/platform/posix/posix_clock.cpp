#include "platform/posix/posix_clock.h"

#include <ctime>

namespace vekhor::platform {

std::uint32_t PosixClock::SetSystemTime(const SystemTime&) {
  return kErrorPrivilegeNotHeld;
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
