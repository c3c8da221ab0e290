#include "platform/win32/win_icmp.h"

// winsock2 before windows.h, and both before the IP Helper headers that need their types.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>

// windows.h makes CreateFile a macro; here it is the name of our own member.
#undef CreateFile

#include <array>
#include <cstring>

namespace vekhor::platform {
namespace {

HANDLE ToHandle(IcmpHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

IcmpHandle WinIcmp::CreateFile() {
  const auto create = iphlpapi_.Find<decltype(::IcmpCreateFile)>("IcmpCreateFile");
  return create != nullptr ? reinterpret_cast<IcmpHandle>(create()) : kInvalidIcmpHandle;
}

EchoResult WinIcmp::SendEcho(IcmpHandle handle, std::uint32_t destination, const std::string& data,
                             std::uint32_t timeoutMs) {
  // One reply record, room for 250 bytes of echoed data and the 8 bytes of an ICMP error.
  std::array<unsigned char, sizeof(ICMP_ECHO_REPLY) + 250 + 8> buffer{};
  const auto send = iphlpapi_.Find<decltype(::IcmpSendEcho)>("IcmpSendEcho");
  if (send == nullptr) return {0, 0, 0};
  std::string request = data;  // IcmpSendEcho takes the data through a non-const pointer
  const DWORD replies =
      send(ToHandle(handle), destination, request.data(), static_cast<WORD>(request.size()),
           nullptr, buffer.data(), static_cast<DWORD>(buffer.size()), timeoutMs);
  ICMP_ECHO_REPLY first{};
  std::memcpy(&first, buffer.data(), sizeof first);
  return {replies, first.Status, first.RoundTripTime};
}

bool WinIcmp::CloseHandle(IcmpHandle handle) {
  const auto close = iphlpapi_.Find<decltype(::IcmpCloseHandle)>("IcmpCloseHandle");
  return close != nullptr && close(ToHandle(handle)) != FALSE;
}

}  // namespace vekhor::platform
