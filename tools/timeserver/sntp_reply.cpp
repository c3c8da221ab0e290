#include "sntp_reply.h"

#include <chrono>
#include <cstdint>

namespace timeserver {
namespace {

constexpr std::size_t kPacketSize = 48;
constexpr int kModeClient = 3;
constexpr int kModeServer = 4;
constexpr int kLeapUnsynchronized = 3;
constexpr std::size_t kTransmitAt = 40;  // where a request carries its transmit timestamp

// A server that set its clock from a stratum-1 one a poll interval ago, over a short path.
constexpr char kStratum = 2;
constexpr char kPrecision = -20;                // about a microsecond
constexpr char kRootDelay[] = {0, 0, 0, 0x42};  // about a millisecond, 16.16 seconds
constexpr char kRootDispersion[] = {0, 0, 0, 0x42};
constexpr auto kLastSet = std::chrono::seconds(16);

char FirstByte(int leap, int version, int mode) {
  return static_cast<char>((leap << 6) | (version << 3) | mode);
}

// One second more than the request's transmit timestamp: an origin no client may accept.
std::string OtherOrigin(const std::string& origin) {
  std::string other = origin;
  for (int i = 3; i >= 0; --i) {
    const std::size_t index = static_cast<std::size_t>(i);
    other[index] = static_cast<char>(static_cast<unsigned char>(other[index]) + 1);
    if (other[index] != '\0') break;  // no carry
  }
  return other;
}

}  // namespace

bool IsClientRequest(const std::string& datagram) {
  return datagram.size() >= kPacketSize && (datagram[0] & 7) == kModeClient;
}

std::string SntpReply(const std::string& request, const Behaviour& behaviour, ServedTime received,
                      ServedTime transmit) {
  const int version = (request[0] >> 3) & 7;
  const std::string origin = request.substr(kTransmitAt, 8);

  std::string reply;
  reply += FirstByte(0, version, kModeServer);
  reply += kStratum;
  reply += request[2];  // poll
  reply += kPrecision;
  reply.append(kRootDelay, 4);
  reply.append(kRootDispersion, 4);
  reply += "LOCL";
  reply += NtpTimestamp(received - kLastSet);
  reply += behaviour.kind == Kind::SntpWrongOrigin ? OtherOrigin(origin) : origin;
  reply += NtpTimestamp(received);
  reply += NtpTimestamp(transmit);

  switch (behaviour.kind) {
    case Kind::SntpKissOfDeath:
      reply[0] = FirstByte(kLeapUnsynchronized, version, kModeServer);
      reply[1] = 0;
      reply.replace(12, 4, (behaviour.bytes + std::string(4, '\0')).substr(0, 4));
      break;
    case Kind::SntpLeap3:
      reply[0] = FirstByte(kLeapUnsynchronized, version, kModeServer);
      break;
    case Kind::SntpShort:
      reply.resize(40);
      break;
    default:
      break;
  }
  return reply;
}

}  // namespace timeserver
