// ICMP echo as icmp.dll offers it: open a handle, send one echo, close the handle.
#pragma once

#include <cstdint>
#include <string>

namespace vekhor::platform {

using IcmpHandle = std::intptr_t;
inline constexpr IcmpHandle kInvalidIcmpHandle = -1;
inline constexpr std::uint32_t kIpSuccess = 0;
inline constexpr std::uint32_t kIpDestHostUnreachable = 11003;
inline constexpr std::uint32_t kIpRequestTimedOut = 11010;

// The number of replies and the status and round trip of the first reply record
// (all zero where the platform wrote none).
struct EchoResult {
  std::uint32_t replies = 0;
  std::uint32_t status = 0;
  std::uint32_t roundTripMs = 0;
};

class Icmp {
 public:
  virtual ~Icmp() = default;
  virtual IcmpHandle CreateFile() = 0;
  // destination: IPv4 address with the first dotted component in the lowest byte.
  virtual EchoResult SendEcho(IcmpHandle handle, std::uint32_t destination,
                              const std::string& data, std::uint32_t timeoutMs) = 0;
  virtual bool CloseHandle(IcmpHandle handle) = 0;
};

}  // namespace vekhor::platform
