// ICMP echo through iphlpapi's IcmpCreateFile, IcmpSendEcho and IcmpCloseHandle.
#pragma once

#include "platform/icmp.h"
#include "platform/win32/system_library.h"

namespace vekhor::platform {

class WinIcmp final : public Icmp {
 public:
  IcmpHandle CreateFile() override;
  EchoResult SendEcho(IcmpHandle handle, std::uint32_t destination, const std::string& data,
                      std::uint32_t timeoutMs) override;
  bool CloseHandle(IcmpHandle handle) override;

 private:
  SystemLibrary iphlpapi_{L"iphlpapi.dll"};
};

}  // namespace vekhor::platform
