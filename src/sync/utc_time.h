// UTC instants as the program counts them: microseconds since 1900-01-01 00:00 UTC, the epoch of
// both time protocols; to and from the system's FILETIME and SYSTEMTIME, and the era of a 32-bit
// count of seconds.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace vekhor {

inline constexpr std::int64_t kMicrosecondsPerSecond = 1000000;
inline constexpr std::int64_t kSecondsPerEra = std::int64_t{1} << 32;

// FILETIME (100 ns since 1601-01-01) to microseconds since 1900, rounded down.
std::int64_t MicrosecondsFromFileTime(std::int64_t fileTime);
// The system clock now, precisely, in microseconds since 1900.
std::int64_t UtcNowUs(platform::Clock& clock);

// The UTC calendar date and time of an instant, to the millisecond (rounded to the nearest);
// day of week 0.
platform::SystemTime SystemTimeOf(std::int64_t microsecondsSince1900);
std::int64_t MicrosecondsOf(const platform::SystemTime& utc);

// Of the moments a 32-bit count of seconds since 1900 can name, one every 2^32 seconds (136
// years), the one nearest `pivot` (seconds since 1900): within 68 years of it either way.
std::int64_t SecondsInEraNearest(std::uint32_t count, std::int64_t pivot);

}  // namespace vekhor
