#include "sync/sntp_packet.h"

#include "sync/utc_time.h"

namespace vekhor {
namespace {

constexpr std::size_t kOriginAt = 24;
constexpr std::size_t kReceiveAt = 32;
constexpr std::size_t kTransmitAt = 40;
constexpr std::size_t kReferenceIdAt = 12;
constexpr unsigned kModeClient = 3;
constexpr unsigned kModeServer = 4;
constexpr unsigned kVersion = 4;
constexpr unsigned kLeapUnsynchronised = 3;
constexpr unsigned kMaxStratum = 15;

std::uint64_t ReadTimestamp(std::string_view packet, std::size_t at) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < 8; ++i)
    value = (value << 8) | static_cast<unsigned char>(packet[at + i]);
  return value;
}

void WriteTimestamp(std::string& packet, std::size_t at, std::uint64_t value) {
  for (std::size_t i = 0; i < 8; ++i) packet[at + i] = static_cast<char>(value >> (56 - 8 * i));
}

}  // namespace

std::uint64_t NtpTimestampOf(std::int64_t microsecondsSince1900) {
  std::int64_t seconds = microsecondsSince1900 / kMicrosecondsPerSecond;
  std::int64_t micros = microsecondsSince1900 % kMicrosecondsPerSecond;
  if (micros < 0) {
    micros += kMicrosecondsPerSecond;
    --seconds;
  }
  const auto fraction = static_cast<std::uint64_t>((static_cast<std::uint64_t>(micros) << 32) /
                                                   kMicrosecondsPerSecond);
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(seconds)) << 32) | fraction;
}

std::int64_t MicrosecondsOfNtpTimestamp(std::uint64_t timestamp, std::int64_t buildDay) {
  const std::int64_t seconds =
      SecondsInEraNearest(static_cast<std::uint32_t>(timestamp >> 32), buildDay);
  const std::uint64_t fraction = timestamp & 0xFFFFFFFFu;
  // Rounded to the nearest microsecond.
  const auto micros =
      static_cast<std::int64_t>((fraction * kMicrosecondsPerSecond + (1ull << 31)) >> 32);
  return seconds * kMicrosecondsPerSecond + micros;
}

std::string SntpRequest(std::uint64_t transmit) {
  std::string packet(kSntpPacketSize, '\0');
  packet[0] = static_cast<char>(kVersion << 3 | kModeClient);
  WriteTimestamp(packet, kTransmitAt, transmit);
  return packet;
}

SntpReply ReadSntpReply(std::string_view reply, std::uint64_t sentTransmit) {
  SntpReply read;
  if (reply.size() < kSntpPacketSize) return read;
  const auto first = static_cast<unsigned char>(reply[0]);
  const unsigned leap = first >> 6;
  const unsigned version = (first >> 3) & 7;
  const unsigned mode = first & 7;
  const auto stratum = static_cast<unsigned char>(reply[1]);
  // Not a reply to this request: another's, a stale one, or a forgery.
  if (mode != kModeServer || (version != 3 && version != 4) ||
      ReadTimestamp(reply, kOriginAt) != sentTransmit) {
    return read;
  }
  if (stratum == 0) {
    read.kind = SntpReply::Kind::KissOfDeath;
    for (std::size_t i = 0; i < 4; ++i) {
      const char c = reply[kReferenceIdAt + i];
      read.kissCode += (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : '?';
    }
    return read;
  }
  read.receive = ReadTimestamp(reply, kReceiveAt);
  read.transmit = ReadTimestamp(reply, kTransmitAt);
  if (leap == kLeapUnsynchronised || stratum > kMaxStratum || read.transmit == 0 ||
      read.receive == 0) {
    return read;
  }
  read.kind = SntpReply::Kind::Time;
  return read;
}

}  // namespace vekhor
