#include "platform/win32/win_connectivity.h"

#include <windows.h>
#include <wininet.h>

namespace vekhor::platform {

// Without WinINet nothing says the computer is offline: the run goes on and finds out.
bool WinConnectivity::InternetGetConnectedState(std::uint32_t& flags) {
  flags = 0;
  const auto query =
      wininet_.Find<decltype(::InternetGetConnectedState)>("InternetGetConnectedState");
  if (query == nullptr) return true;
  DWORD state = 0;
  const BOOL connected = query(&state, 0);
  flags = state;
  return connected != FALSE;
}

}  // namespace vekhor::platform
