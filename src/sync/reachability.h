// The checks made before a server is asked for the time: Internet connection, the usable local
// address (the members GetIPaddress and Ping are on TCPIP).
#pragma once

#include <string>
#include <vector>

#include "platform/connectivity.h"

namespace vekhor {

bool IsInternetConnected(platform::Connectivity& connectivity);

// Private ranges 10., 90., 172.16-31, 169.254 and 192.168 are not usable; anything else is.
bool IsUsableLocalAddress(const std::string& dotted);

// The first address if usable, else the second if there is one and it is usable, else the
// first; "" for an empty list.
std::string ChooseLocalAddress(const std::vector<std::string>& dottedAddresses);

}  // namespace vekhor
