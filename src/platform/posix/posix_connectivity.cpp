#include "platform/posix/posix_connectivity.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

#include <memory>

namespace vekhor::platform {

bool PosixConnectivity::InternetGetConnectedState(std::uint32_t& flags) {
  constexpr std::uint32_t kConnectionLan = 0x02;
  flags = 0;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, &::freeifaddrs);
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    const unsigned wanted = IFF_UP | IFF_RUNNING;
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & wanted) != wanted || (entry->ifa_flags & IFF_LOOPBACK)) continue;
    flags = kConnectionLan;
    return true;
  }
  return false;
}

}  // namespace vekhor::platform
