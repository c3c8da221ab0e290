// The notification-area icon through shell32.
#pragma once

#include "platform/notify_icon.h"
#include "platform/win32/system_library.h"

namespace vekhor::platform {

class WinNotifyIcon final : public NotifyIcon {
 public:
  bool ShellNotifyIcon(int message, const TrayIconData& data) override;

 private:
  SystemLibrary shell32_{L"shell32.dll"};  // with the first icon: a window start needs none
};

}  // namespace vekhor::platform
