// SNTP packets (RFC 4330, the client mode of RFC 5905): the 48-byte request and what a reply
// says. NTP timestamps are 64 bits: seconds since 1900 above, a binary fraction below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vekhor {

inline constexpr std::uint16_t kSntpPort = 123;
inline constexpr std::size_t kSntpPacketSize = 48;

// An instant (microseconds since 1900) as an NTP timestamp, its seconds wrapped to 32 bits.
std::uint64_t NtpTimestampOf(std::int64_t microsecondsSince1900);
// A timestamp's instant, in the era nearest `buildDay` (seconds since 1900).
std::int64_t MicrosecondsOfNtpTimestamp(std::uint64_t timestamp, std::int64_t buildDay);

// LI 0, version 4, mode 3 (client), everything zero but the transmit timestamp.
std::string SntpRequest(std::uint64_t transmit);

struct SntpReply {
  enum class Kind { Time, KissOfDeath, NoTime };
  Kind kind = Kind::NoTime;
  std::string kissCode;        // the four ASCII letters of a kiss-o'-death (RATE, DENY, RSTR ...)
  std::uint64_t receive = 0;   // when the server took the request in
  std::uint64_t transmit = 0;  // when it sent the reply
};

// A reply counts when it is at least 48 bytes, mode 4 (server), version 3 or 4, answers our
// request (its origin is the transmit timestamp we sent) and has receive and transmit timestamps,
// from a server that keeps time: leap indicator not 3 (unsynchronised), stratum 1 to 15. Stratum 0
// is a kiss-o'-death. Anything else is no time.
SntpReply ReadSntpReply(std::string_view reply, std::uint64_t sentTransmit);

}  // namespace vekhor
