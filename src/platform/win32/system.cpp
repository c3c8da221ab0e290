// The platform of Vekhor.exe: the Win32 backends and the real registry.
#include "platform/system.h"

#include "platform/registry.h"
#include "platform/win32/win_clock.h"
#include "platform/win32/win_connectivity.h"
#include "platform/win32/win_icmp.h"
#include "platform/win32/win_notify_icon.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_sockets.h"

namespace vekhor::platform {
namespace {

class Win32Platform final : public SystemPlatform {
 public:
  Platform& platform() override { return platform_; }

 private:
  WinSockets sockets_;
  WinIcmp icmp_;
  WinConnectivity connectivity_;
  WinClock clock_;
  WinShell shell_;
  WinNotifyIcon notifyIcon_;
  std::unique_ptr<Registry> registry_ = MakeSystemRegistry();
  Platform platform_{sockets_, icmp_, connectivity_, clock_, *registry_, shell_, notifyIcon_};
};

}  // namespace

std::unique_ptr<SystemPlatform> MakeSystemPlatform() {
  return std::make_unique<Win32Platform>();
}

}  // namespace vekhor::platform
