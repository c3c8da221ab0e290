// The system clock: set it in UTC, and tell the local time as the user's date-time text.
#pragma once

#include <cstdint>
#include <string>

namespace vekhor::platform {

// SYSTEMTIME: eight unsigned 16-bit fields in this order.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
  friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

inline constexpr std::uint32_t kErrorPrivilegeNotHeld = 1314;

class Clock {
 public:
  virtual ~Clock() = default;
  // 0 when the clock was set, else the platform's error code.
  virtual std::uint32_t SetSystemTime(const SystemTime& utc) = 0;
  // The current local date and time in the system's general date form: the short date, a blank
  // and the long time; at exactly midnight the date alone.
  virtual std::string NowText() = 0;
  // Today in the system's short date form.
  virtual std::string DateText() = 0;
};

}  // namespace vekhor::platform
