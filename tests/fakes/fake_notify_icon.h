// The notification area: records every request, keeps at most one icon until the taskbar goes.
#pragma once

#include <utility>
#include <vector>

#include "platform/notify_icon.h"

namespace vekhor::fakes {

class FakeNotifyIcon : public platform::NotifyIcon {
 public:
  struct Request {
    int message;
    platform::TrayIconData data;
  };
  std::vector<Request> requests;
  bool taskbarRunning = true;  // without a taskbar every request is refused
  bool iconShown = false;

  bool ShellNotifyIcon(int message, const platform::TrayIconData& data) override {
    requests.push_back({message, data});
    // An icon is added once and deleted once, as the shell does.
    const bool add = message == platform::kNimAdd;
    if (!taskbarRunning || (!add && message != platform::kNimDelete)) return false;
    return std::exchange(iconShown, add) != add;
  }

  // Explorer ends and starts again: the icons it showed are gone.
  void RestartTaskbar() {
    iconShown = false;
    taskbarRunning = true;
  }
};

}  // namespace vekhor::fakes
