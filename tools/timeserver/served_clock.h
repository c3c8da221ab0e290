// The clock the server serves (the wall clock plus the behaviour's offset) and its two wire
// forms. Times are nanoseconds since 1970-01-01 on the served clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace timeserver {

using ServedTime = std::chrono::nanoseconds;

ServedTime ServedNow(std::chrono::nanoseconds offset);

// Whole seconds since 1900, modulo 2^32 as both protocols carry them.
std::uint32_t SecondsSince1900(ServedTime time);

// The RFC 868 answer: 4 bytes, big-endian.
std::string TimeProtocolBytes(ServedTime time);

// An NTP timestamp: 8 bytes, big-endian, seconds since 1900 then the binary fraction.
std::string NtpTimestamp(ServedTime time);

// When to send an answer `at` into a second: the first such point at or after `now`, or one that
// passed at most `grace` ago (then the answer goes at once, as the whole second's wait would
// outlast a client's patience).
ServedTime SendPoint(ServedTime now, std::chrono::milliseconds at, std::chrono::nanoseconds grace);

}  // namespace timeserver
