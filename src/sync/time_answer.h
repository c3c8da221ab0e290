// Decoding of an RFC 868 answer: 4 bytes, seconds since 1900-01-01 00:00 UTC, big-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vekhor {

// The 32-bit time value of a 4-byte answer; nothing for any other length.
std::optional<std::uint32_t> TimeValue(std::string_view answer);

// The moment a 4-byte answer names, in seconds since 1900: of the moments its count can name
// (one every 136 years), the one nearest `buildDay` (seconds since 1900); nothing for any other
// length. The count wraps on 2036-02-07 06:28:16 UTC, and the program runs after its build.
std::optional<std::int64_t> SecondsSince1900(std::string_view answer, std::int64_t buildDay);

// Whether a 4-byte answer can be the time now: not before `buildDay`, and not the all-zero count
// that a server with no clock sends. A clock never set, counting from 1990, is 1990 and no time.
bool IsPlausibleTime(std::string_view answer, std::int64_t buildDay);

}  // namespace vekhor
