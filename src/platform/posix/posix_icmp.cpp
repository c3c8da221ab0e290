#include "platform/posix/posix_icmp.h"

#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <vector>

namespace vekhor::platform {
namespace {

std::uint16_t Checksum(const unsigned char* data, std::size_t length) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < length; i += 2)
    sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
  if (length % 2) sum += static_cast<std::uint32_t>(data[length - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  const auto folded = static_cast<std::uint16_t>(~sum);
  return static_cast<std::uint16_t>(folded >> 8 | folded << 8);  // back to network order in memory
}

// IP_DEST_* statuses of icmp.dll for ICMP destination-unreachable codes.
std::uint32_t UnreachableStatus(int code) {
  switch (code) {
    case ICMP_NET_UNREACH:
      return 11002;
    case ICMP_HOST_UNREACH:
      return kIpDestHostUnreachable;
    case ICMP_PROT_UNREACH:
      return 11004;
    case ICMP_PORT_UNREACH:
      return 11005;
    default:
      return kIpDestHostUnreachable;
  }
}

}  // namespace

PosixIcmp::~PosixIcmp() {
  for (const auto& [handle, raw] : raw_) ::close(static_cast<int>(handle));
}

IcmpHandle PosixIcmp::CreateFile() {
  bool raw = false;
  int fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
  if (fd < 0) {
    fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
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

EchoResult PosixIcmp::SendEcho(IcmpHandle handle, std::uint32_t destination,
                               const std::string& data, std::uint32_t timeoutMs) {
  const auto open = raw_.find(handle);
  if (open == raw_.end()) return {};
  const int fd = static_cast<int>(handle);
  const bool raw = open->second;
  const auto identifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
  const std::uint16_t sequence = ++sequence_;

  std::vector<unsigned char> request(sizeof(icmphdr) + data.size());
  icmphdr header{};
  header.type = ICMP_ECHO;
  header.un.echo.id = htons(identifier);
  header.un.echo.sequence = htons(sequence);
  std::memcpy(request.data(), &header, sizeof header);
  std::memcpy(request.data() + sizeof header, data.data(), data.size());
  const std::uint16_t sum = Checksum(request.data(), request.size());
  std::memcpy(request.data() + offsetof(icmphdr, checksum), &sum, sizeof sum);

  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_addr.s_addr = destination;
  const auto start = std::chrono::steady_clock::now();
  if (::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&target),
               sizeof target) < 0) {
    return {0, kIpDestHostUnreachable, 0};
  }

  const auto deadline = start + std::chrono::milliseconds(timeoutMs);
  std::array<unsigned char, 1500> reply{};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd entry{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
      return {0, kIpRequestTimedOut, 0};
    }
    const ssize_t received = ::recv(fd, reply.data(), reply.size(), 0);
    if (received <= 0) continue;
    std::size_t offset = 0;
    if (raw)
      offset = static_cast<std::size_t>(reply[0] & 0x0F) * 4;  // raw sockets include the IP header
    if (static_cast<std::size_t>(received) < offset + sizeof(icmphdr)) continue;
    icmphdr answer{};
    std::memcpy(&answer, reply.data() + offset, sizeof answer);
    // Windows reports whole milliseconds, truncated: a reply under 1 ms is 0 ms.
    const auto elapsed =
        static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - start)
                                       .count());
    if (answer.type == ICMP_ECHOREPLY) {
      // Datagram sockets rewrite the identifier; match on the sequence there.
      if (ntohs(answer.un.echo.sequence) != sequence) continue;
      if (raw && ntohs(answer.un.echo.id) != identifier) continue;
      return {1, kIpSuccess, elapsed};
    }
    if (answer.type == ICMP_DEST_UNREACH) return {1, UnreachableStatus(answer.code), elapsed};
    if (answer.type == ICMP_TIME_EXCEEDED) return {1, 11013, elapsed};  // IP_TTL_EXPIRED_TRANSIT
    // Anything else (our own request seen on a raw socket) is not the answer.
  }
}

}  // namespace vekhor::platform
