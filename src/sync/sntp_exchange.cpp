#include "sync/sntp_exchange.h"

#include "sync/sntp_packet.h"
#include "sync/utc_time.h"

namespace vekhor {
namespace {

constexpr long kReplyWaitMs = 1000;
// More than any reply: Windows fails a datagram larger than the buffer with WSAEMSGSIZE.
constexpr int kReceiveLimit = 2048;
constexpr std::uint64_t kRandomMask = (1u << 20) - 1;
constexpr std::int64_t kLongestTurnUs = 10 * kMicrosecondsPerSecond;

}  // namespace

bool SntpQuery::Send(const std::string& dotted, std::uint16_t port, std::uint32_t randomBits) {
  if (!udp_.Open(dotted, port)) return false;
  t1_ = UtcNowUs(clock_);
  transmit_ = (NtpTimestampOf(t1_) & ~kRandomMask) | (randomBits & kRandomMask);
  return udp_.Send(SntpRequest(transmit_));
}

SntpOutcome SntpQuery::Receive(std::int64_t buildDay) {
  SntpOutcome outcome;
  const std::int64_t t4 = UtcNowUs(clock_);
  const std::int64_t t4Monotonic = clock_.MonotonicMicroseconds();
  const auto reply = udp_.Receive(kReceiveLimit);
  if (!reply) return outcome;

  const SntpReply read = ReadSntpReply(*reply, transmit_);
  switch (read.kind) {
    case SntpReply::Kind::NoTime:
      return outcome;
    case SntpReply::Kind::KissOfDeath:
      outcome.kind = SntpOutcome::Kind::KissOfDeath;
      outcome.kissCode = read.kissCode;
      return outcome;
    case SntpReply::Kind::Time:
      break;
  }
  const std::int64_t t2 = MicrosecondsOfNtpTimestamp(read.receive, buildDay);
  const std::int64_t t3 = MicrosecondsOfNtpTimestamp(read.transmit, buildDay);
  // A server sends its reply after it took the request in, and not seconds after.
  if (t3 < buildDay * kMicrosecondsPerSecond || t3 < t2 || t3 - t2 > kLongestTurnUs) {
    outcome.kind = SntpOutcome::Kind::Implausible;
    return outcome;
  }
  outcome.kind = SntpOutcome::Kind::Time;
  outcome.fetched = FromSntpTimestamps(t1_, t2, t3, t4, t4Monotonic);
  return outcome;
}

SntpOutcome AskSntp(platform::Sockets& sockets, platform::Clock& clock, const std::string& dotted,
                    std::uint16_t port, std::int64_t buildDay, std::uint32_t randomBits) {
  SntpQuery query(sockets, clock);
  if (!query.Send(dotted, port, randomBits) || !query.WaitReadable(kReplyWaitMs)) return {};
  return query.Receive(buildDay);
}

}  // namespace vekhor
