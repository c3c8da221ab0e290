// ICMP echo over an ICMP datagram socket, or a raw socket where only root may send echoes.
#pragma once

#include <map>
#include <optional>

#include "platform/icmp.h"

namespace vekhor::platform {

class PosixIcmp final : public Icmp {
 public:
  ~PosixIcmp() override;
  IcmpHandle CreateFile() override;
  EchoResult SendEcho(IcmpHandle handle, std::uint32_t destination, const std::string& data,
                      std::uint32_t timeoutMs) override;
  bool CloseHandle(IcmpHandle handle) override;

 private:
  // The status of the answer to our request, or nothing for a message that is not that.
  static std::optional<std::uint32_t> ReadRaw(int fd, std::uint16_t identifier,
                                              std::uint16_t sequence);
  static std::optional<std::uint32_t> ReadDatagram(int fd, std::uint16_t sequence);
  static std::optional<std::uint32_t> ReadErrorQueue(int fd, std::uint16_t sequence);

  std::map<IcmpHandle, bool> raw_;  // open handles: true when the socket is raw
  std::uint16_t sequence_ = 0;
};

}  // namespace vekhor::platform
