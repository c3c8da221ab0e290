#include "sync/sntp_exchange.h"

#include "net/udp_socket.h"
#include "sync/sntp_packet.h"
#include "sync/utc_time.h"

namespace vekhor {
namespace {

constexpr long kReplyWaitMs = 1000;
// More than any reply: Windows fails a datagram larger than the buffer with WSAEMSGSIZE.
constexpr int kReceiveLimit = 2048;
constexpr std::uint64_t kRandomMask = (1u << 20) - 1;

std::int64_t LocalNowUs(platform::Clock& clock) {
  return MicrosecondsFromFileTime(clock.PreciseFileTime());
}

}  // namespace

SntpOutcome AskSntp(platform::Sockets& sockets, platform::Clock& clock, const std::string& dotted,
                    std::uint16_t port, std::int64_t buildDay, std::uint32_t randomBits) {
  SntpOutcome outcome;
  UdpSocket udp(sockets);
  if (!udp.Open(dotted, port)) return outcome;
  // The true send time goes into the arithmetic; the request carries it with random low bits.
  const std::int64_t t1 = LocalNowUs(clock);
  const std::uint64_t transmit = (NtpTimestampOf(t1) & ~kRandomMask) | (randomBits & kRandomMask);
  if (!udp.Send(SntpRequest(transmit)) || !udp.WaitReadable(kReplyWaitMs)) return outcome;
  const std::int64_t t4 = LocalNowUs(clock);
  const std::int64_t t4Monotonic = clock.MonotonicMicroseconds();
  const auto reply = udp.Receive(kReceiveLimit);
  if (!reply) return outcome;

  const SntpReply read = ReadSntpReply(*reply, transmit);
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
  if (t3 < buildDay * kMicrosecondsPerSecond) {
    outcome.kind = SntpOutcome::Kind::Implausible;
    return outcome;
  }
  outcome.kind = SntpOutcome::Kind::Time;
  outcome.fetched = FromSntpTimestamps(t1, t2, t3, t4, t4Monotonic);
  return outcome;
}

}  // namespace vekhor
