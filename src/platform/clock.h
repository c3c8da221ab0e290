// The system clock: read it precisely and set it in UTC, tell the local time as the user's
// date-time text, and measure elapsed time on a clock that no setting moves.
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
  // The system time in UTC as a FILETIME: 100 ns intervals since 1601-01-01 00:00 UTC.
  // GetSystemTimePreciseAsFileTime where the system has it (Windows 8 on), else the 15.6 ms one.
  virtual std::int64_t PreciseFileTime() = 0;
  // A system-wide monotonic reading in microseconds (QueryPerformanceCounter): the same clock in
  // every process, never set, for measuring how long something took.
  virtual std::int64_t MonotonicMicroseconds() = 0;
  // The current local date and time in the system's general date form: the short date, a blank
  // and the long time; at exactly midnight the date alone.
  virtual std::string NowText() = 0;
  // Today in the system's short date form.
  virtual std::string DateText() = 0;
};

}  // namespace vekhor::platform
