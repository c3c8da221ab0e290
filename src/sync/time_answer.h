// Decoding of an RFC 868 answer: 4 bytes, seconds since 1900-01-01 00:00 UTC, big-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/clock.h"

namespace vekhor {

inline constexpr std::uint32_t kSecondsFrom1900To1990 = 2840140800u;
// Answers from here up are read as 1921-12-13 20:45:52 UTC onwards; answers below it as the
// seconds after the count wrapped on 2036-02-07 06:28:16 UTC (era 1, as RFC 4330 reads them).
inline constexpr std::uint32_t kEarliestAnswer = 692657152u;

// The 32-bit time value of a 4-byte answer; nothing for any other length.
std::optional<std::uint32_t> TimeValue(std::string_view answer);

// The moment a 4-byte answer names, in seconds since 1900-01-01 00:00 UTC, the wrap of 2036
// counted; nothing for any other length.
std::optional<std::int64_t> SecondsSince1900(std::string_view answer);

// Whether a 4-byte answer can be the time now: not before `earliest` (seconds since 1900, the
// program's build date), and not the all-zero count that a server with no clock sends.
bool IsPlausibleTime(std::string_view answer, std::int64_t earliest);

// The UTC date and time of an answer (day of week and milliseconds 0); nothing for an answer
// that is not 4 bytes.
std::optional<platform::SystemTime> DecodeTimeAnswer(std::string_view answer);

}  // namespace vekhor
