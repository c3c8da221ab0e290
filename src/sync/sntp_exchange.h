// One SNTP exchange with one address: a request over UDP, at most a second for the reply, and
// the server's time from the four timestamps.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/sockets.h"
#include "sync/fetched_time.h"

namespace vekhor {

struct SntpOutcome {
  enum class Kind { Time, KissOfDeath, Implausible, NoTime };
  Kind kind = Kind::NoTime;
  FetchedTime fetched;   // for Time
  std::string kissCode;  // for KissOfDeath
};

// `randomBits` fill the low 20 bits of the request's transmit timestamp, below the clock's
// resolution: a reply must echo them, so that no stale or forged datagram passes for one.
// A reply naming a time before `buildDay` (seconds since 1900) is Implausible.
SntpOutcome AskSntp(platform::Sockets& sockets, platform::Clock& clock, const std::string& dotted,
                    std::uint16_t port, std::int64_t buildDay, std::uint32_t randomBits);

}  // namespace vekhor
