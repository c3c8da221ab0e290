#include "sync/fetched_time.h"

#include <algorithm>

namespace vekhor {
namespace {
constexpr std::int64_t kHalfSecondUs = 500000;
// The clock is set in whole milliseconds: nothing closer than that is worth a change.
constexpr std::int64_t kSettingResolutionUs = 1000;
}  // namespace

FetchedTime FromTimeAnswer(std::int64_t answerSeconds, std::int64_t connectUs,
                           std::int64_t arrivalMonotonicUs) {
  const std::int64_t roundTrip = std::max<std::int64_t>(connectUs, 0);
  FetchedTime fetched;
  fetched.protocol = TimeProtocol::Rfc868;
  fetched.serverUs = answerSeconds * 1000000 + kHalfSecondUs + roundTrip / 2;
  fetched.atMonotonicUs = arrivalMonotonicUs;
  fetched.roundTripUs = roundTrip;
  // The answer's second, widened by half the round trip either way.
  fetched.uncertaintyUs = kHalfSecondUs + roundTrip / 2;
  return fetched;
}

FetchedTime FromSntpTimestamps(std::int64_t t1, std::int64_t t2, std::int64_t t3, std::int64_t t4,
                               std::int64_t t4MonotonicUs) {
  const std::int64_t offset = ((t2 - t1) + (t3 - t4)) / 2;
  const std::int64_t roundTrip = std::max<std::int64_t>((t4 - t1) - (t3 - t2), 0);
  FetchedTime fetched;
  fetched.protocol = TimeProtocol::Sntp;
  fetched.serverUs = t4 + offset;
  fetched.atMonotonicUs = t4MonotonicUs;
  fetched.roundTripUs = roundTrip;
  // An unequal path puts the offset off by at most half the round trip.
  fetched.uncertaintyUs = std::max(roundTrip / 2, kSettingResolutionUs);
  return fetched;
}

}  // namespace vekhor
