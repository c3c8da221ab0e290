// SNTP exchanges with one address: a request over UDP and the server's time from the four
// timestamps, one at a time or several in flight at once.
#pragma once

#include <cstdint>
#include <string>

#include "net/udp_socket.h"
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

// One request in flight on a socket of its own.
class SntpQuery {
 public:
  SntpQuery(platform::Sockets& sockets, platform::Clock& clock) : udp_(sockets), clock_(clock) {}

  // Sends the request to `dotted`:`port`. `randomBits` fill the low 20 bits of its transmit
  // timestamp, below the clock's resolution: a reply must echo them, so that no stale or forged
  // datagram passes for one.
  bool Send(const std::string& dotted, std::uint16_t port, std::uint32_t randomBits);
  // For a select over several queries; kInvalidSocket before a Send.
  platform::SocketHandle Socket() const { return udp_.Handle(); }
  bool WaitReadable(long milliseconds) { return udp_.WaitReadable(milliseconds); }
  // Reads the reply once the socket is readable, at once: the moment it came is now. A reply
  // naming a time before `buildDay` (seconds since 1900) is Implausible.
  SntpOutcome Receive(std::int64_t buildDay);

 private:
  UdpSocket udp_;
  platform::Clock& clock_;
  std::int64_t t1_ = 0;  // the true send time, for the arithmetic
  std::uint64_t transmit_ = 0;
};

// One exchange: at most a second for the reply.
SntpOutcome AskSntp(platform::Sockets& sockets, platform::Clock& clock, const std::string& dotted,
                    std::uint16_t port, std::int64_t buildDay, std::uint32_t randomBits);

}  // namespace vekhor
