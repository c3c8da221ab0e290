// What one exchange with a server told of its clock, by either protocol: the server's time at
// one reading of the monotonic clock, so that it can be carried to any later moment.
#pragma once

#include <cstdint>

namespace vekhor {

enum class TimeProtocol { Rfc868, Sntp };

struct FetchedTime {
  TimeProtocol protocol = TimeProtocol::Rfc868;
  std::int64_t serverUs = 0;       // the server's clock, microseconds since 1900 ...
  std::int64_t atMonotonicUs = 0;  // ... at this reading of the monotonic clock
  std::int64_t roundTripUs = 0;
  // How far off the estimate may be: a local clock that close to it is as right as the exchange
  // can tell, and is left alone.
  std::int64_t uncertaintyUs = 0;

  std::int64_t ServerUsAt(std::int64_t monotonicUs) const {
    return serverUs + (monotonicUs - atMonotonicUs);
  }
};

// An RFC 868 answer counts whole seconds: it was sent somewhere in the second it names. Its
// middle, plus half the round trip the connect took, is the server's time when it arrived.
FetchedTime FromTimeAnswer(std::int64_t answerSeconds, std::int64_t connectUs,
                           std::int64_t arrivalMonotonicUs);

// RFC 4330's four timestamps (microseconds since 1900): the request sent (t1, local clock), taken
// in (t2) and the reply sent (t3) by the server, the reply taken in (t4, local clock, and at
// `t4MonotonicUs`). Offset ((t2 - t1) + (t3 - t4)) / 2, round trip (t4 - t1) - (t3 - t2).
FetchedTime FromSntpTimestamps(std::int64_t t1, std::int64_t t2, std::int64_t t3, std::int64_t t4,
                               std::int64_t t4MonotonicUs);

}  // namespace vekhor
