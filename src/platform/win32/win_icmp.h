// ICMP echo through iphlpapi's IcmpCreateFile, IcmpSendEcho and IcmpCloseHandle.
#pragma once

#include "platform/icmp.h"

namespace vekhor::platform {

class WinIcmp final : public Icmp {
 public:
  IcmpHandle CreateFile() override;
  EchoResult SendEcho(IcmpHandle handle, std::uint32_t destination, const std::string& data,
                      std::uint32_t timeoutMs) override;
  bool CloseHandle(IcmpHandle handle) override;
};

}  // namespace vekhor::platform
