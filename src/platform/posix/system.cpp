// The native build's platform: POSIX backends and the in-memory registry.
#include "platform/system.h"

#include "platform/notify_icon.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_connectivity.h"
#include "platform/posix/posix_icmp.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/posix_sockets.h"
#include "platform/registry.h"

namespace vekhor::platform {
namespace {

class PosixPlatform final : public SystemPlatform {
 public:
  Platform& platform() override { return platform_; }

 private:
  PosixSockets sockets_;
  PosixIcmp icmp_;
  PosixConnectivity connectivity_;
  PosixClock clock_;
  PosixShell shell_;
  NoNotificationArea notifyIcon_;
  std::unique_ptr<Registry> registry_ = MakeSystemRegistry();
  Platform platform_{sockets_, icmp_, connectivity_, clock_, *registry_, shell_, notifyIcon_};
};

}  // namespace

std::unique_ptr<SystemPlatform> MakeSystemPlatform() {
  return std::make_unique<PosixPlatform>();
}

}  // namespace vekhor::platform
