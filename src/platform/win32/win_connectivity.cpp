#include "platform/win32/win_connectivity.h"

#include <windows.h>
#include <wininet.h>

namespace vekhor::platform {

bool WinConnectivity::InternetGetConnectedState(std::uint32_t& flags) {
  DWORD state = 0;
  const BOOL connected = ::InternetGetConnectedState(&state, 0);
  flags = state;
  return connected != FALSE;
}

}  // namespace vekhor::platform
