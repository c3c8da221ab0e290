// The notification-area icon through shell32.
#pragma once

#include "platform/notify_icon.h"

namespace vekhor::platform {

class WinNotifyIcon final : public NotifyIcon {
 public:
  bool ShellNotifyIcon(int message, const TrayIconData& data) override;
};

}  // namespace vekhor::platform
