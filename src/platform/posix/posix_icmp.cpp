#include "platform/posix/posix_icmp.h"

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

namespace vekhor::platform {
namespace {

// icmp.dll statuses beyond those of icmp.h.
constexpr std::uint32_t kIpDestNetUnreachable = 11002;
constexpr std::uint32_t kIpDestProtUnreachable = 11004;
constexpr std::uint32_t kIpDestPortUnreachable = 11005;
constexpr std::uint32_t kIpTtlExpiredTransit = 11013;
constexpr std::uint32_t kIpGeneralFailure = 11050;

std::uint16_t Checksum(const unsigned char* data, std::size_t length) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < length; i += 2)
    sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
  if (length % 2) sum += static_cast<std::uint32_t>(data[length - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return htons(static_cast<std::uint16_t>(~sum));
}

std::vector<unsigned char> EchoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                       const std::string& data) {
  std::vector<unsigned char> request(sizeof(icmphdr) + data.size());
  icmphdr header{};
  header.type = ICMP_ECHO;
  header.un.echo.id = htons(identifier);
  header.un.echo.sequence = htons(sequence);
  std::memcpy(request.data(), &header, sizeof header);
  std::memcpy(request.data() + sizeof header, data.data(), data.size());
  const std::uint16_t sum = Checksum(request.data(), request.size());
  std::memcpy(request.data() + offsetof(icmphdr, checksum), &sum, sizeof sum);
  return request;
}

// The status icmp.dll gives for an ICMP error of this type and code.
std::uint32_t StatusOfIcmpError(int type, int code) {
  if (type == ICMP_TIME_EXCEEDED) return kIpTtlExpiredTransit;
  if (type != ICMP_DEST_UNREACH) return kIpGeneralFailure;
  switch (code) {
    case ICMP_NET_UNREACH:
      return kIpDestNetUnreachable;
    case ICMP_PROT_UNREACH:
      return kIpDestProtUnreachable;
    case ICMP_PORT_UNREACH:
      return kIpDestPortUnreachable;
    default:
      return kIpDestHostUnreachable;
  }
}

std::uint32_t StatusOfSendFailure(int error) {
  switch (error) {
    case ENETUNREACH:
      return kIpDestNetUnreachable;
    case EHOSTUNREACH:
      return kIpDestHostUnreachable;
    default:
      return kIpGeneralFailure;
  }
}

std::optional<icmphdr> HeaderAt(const unsigned char* data, std::size_t length, std::size_t offset) {
  if (length < offset + sizeof(icmphdr)) return std::nullopt;
  icmphdr header{};
  std::memcpy(&header, data + offset, sizeof header);
  return header;
}

std::size_t IpHeaderLength(const unsigned char* packet) {
  return static_cast<std::size_t>(packet[0] & 0x0F) * 4;
}

}  // namespace

PosixIcmp::~PosixIcmp() {
  for (const auto& [handle, raw] : raw_) ::close(static_cast<int>(handle));
}

IcmpHandle PosixIcmp::CreateFile() {
  bool raw = false;
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd >= 0) {
    // A datagram socket hears of ICMP errors only through its error queue.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
  } else {
    fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw = true;
  }
  if (fd < 0) return kInvalidIcmpHandle;
  raw_[fd] = raw;
  return fd;
}

bool PosixIcmp::CloseHandle(IcmpHandle handle) {
  if (raw_.erase(handle) == 0) return false;
  return ::close(static_cast<int>(handle)) == 0;
}

// A raw socket sees every ICMP message of the host, IP header first: ours is the echo reply, or
// the error that quotes our request, with our identifier and sequence.
std::optional<std::uint32_t> PosixIcmp::ReadRaw(int fd, std::uint16_t identifier,
                                                std::uint16_t sequence) {
  std::array<unsigned char, 1500> packet{};
  const ssize_t received = ::recv(fd, packet.data(), packet.size(), 0);
  if (received <= 0) return std::nullopt;
  const auto length = static_cast<std::size_t>(received);
  const std::size_t outer = IpHeaderLength(packet.data());
  const auto answer = HeaderAt(packet.data(), length, outer);
  if (!answer) return std::nullopt;
  const auto ours = [&](const icmphdr& header) {
    return ntohs(header.un.echo.id) == identifier && ntohs(header.un.echo.sequence) == sequence;
  };
  if (answer->type == ICMP_ECHOREPLY) {
    if (!ours(*answer)) return std::nullopt;
    return kIpSuccess;
  }
  if (answer->type != ICMP_DEST_UNREACH && answer->type != ICMP_TIME_EXCEEDED) {
    return std::nullopt;  // our own request on loopback, or someone else's traffic
  }
  const std::size_t quoted = outer + sizeof(icmphdr);
  if (length <= quoted) return std::nullopt;
  const auto request = HeaderAt(packet.data(), length, quoted + IpHeaderLength(&packet[quoted]));
  if (!request || request->type != ICMP_ECHO || !ours(*request)) return std::nullopt;
  return StatusOfIcmpError(answer->type, answer->code);
}

// A datagram socket gets only its own replies, its identifier rewritten by the kernel.
std::optional<std::uint32_t> PosixIcmp::ReadDatagram(int fd, std::uint16_t sequence) {
  std::array<unsigned char, 1500> packet{};
  const ssize_t received = ::recv(fd, packet.data(), packet.size(), 0);
  if (received <= 0) return std::nullopt;
  const auto answer = HeaderAt(packet.data(), static_cast<std::size_t>(received), 0);
  if (!answer || answer->type != ICMP_ECHOREPLY) return std::nullopt;
  if (ntohs(answer->un.echo.sequence) != sequence) return std::nullopt;
  return kIpSuccess;
}

// An ICMP error that names our request, from a datagram socket's error queue.
std::optional<std::uint32_t> PosixIcmp::ReadErrorQueue(int fd, std::uint16_t sequence) {
  std::array<unsigned char, 576> quoted{};
  alignas(cmsghdr) std::array<unsigned char, 512> control{};
  iovec part{quoted.data(), quoted.size()};
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control.data();
  message.msg_controllen = control.size();
  const ssize_t received = ::recvmsg(fd, &message, MSG_ERRQUEUE);
  if (received < 0) return std::nullopt;
  const auto request = HeaderAt(quoted.data(), static_cast<std::size_t>(received), 0);
  if (!request || ntohs(request->un.echo.sequence) != sequence) return std::nullopt;
  for (cmsghdr* entry = CMSG_FIRSTHDR(&message); entry != nullptr;
       entry = CMSG_NXTHDR(&message, entry)) {
    if (entry->cmsg_level != IPPROTO_IP || entry->cmsg_type != IP_RECVERR) continue;
    sock_extended_err error{};
    std::memcpy(&error, CMSG_DATA(entry), sizeof error);
    if (error.ee_origin == SO_EE_ORIGIN_ICMP)
      return StatusOfIcmpError(error.ee_type, error.ee_code);
    return StatusOfSendFailure(static_cast<int>(error.ee_errno));
  }
  return std::nullopt;
}

EchoResult PosixIcmp::SendEcho(IcmpHandle handle, std::uint32_t destination,
                               const std::string& data, std::uint32_t timeoutMs) {
  const auto open = raw_.find(handle);
  if (open == raw_.end()) return {};
  const int fd = static_cast<int>(handle);
  const bool raw = open->second;
  const auto identifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
  const std::uint16_t sequence = ++sequence_;
  const std::vector<unsigned char> request = EchoRequest(identifier, sequence, data);

  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_addr.s_addr = destination;
  const auto start = std::chrono::steady_clock::now();
  if (::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&target),
               sizeof target) < 0) {
    return {0, StatusOfSendFailure(errno), 0};
  }

  const auto deadline = start + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd entry{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
      return {0, kIpRequestTimedOut, 0};
    }
    std::optional<std::uint32_t> status;
    if (raw) {
      status = ReadRaw(fd, identifier, sequence);
    } else if (entry.revents & POLLERR) {
      status = ReadErrorQueue(fd, sequence);
    } else {
      status = ReadDatagram(fd, sequence);
    }
    if (!status) continue;
    // Windows reports whole milliseconds, truncated: a reply under 1 ms is 0 ms.
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return {1, *status, static_cast<std::uint32_t>(elapsed.count())};
  }
}

}  // namespace vekhor::platform
