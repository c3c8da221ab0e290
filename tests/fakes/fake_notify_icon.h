// The shell's notification area as the program meets it: it records every request and keeps
// at most one icon, which it loses when the taskbar goes.
#pragma once

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
    if (!taskbarRunning) return false;
    // An icon is added once and deleted once, as the shell does.
    const bool wanted = message == platform::kNimAdd;
    if (message != platform::kNimAdd && message != platform::kNimDelete) return false;
    if (iconShown == wanted) return false;
    iconShown = wanted;
    return true;
  }

  // Explorer ends and starts again: the icons it showed are gone.
  void RestartTaskbar() {
    iconShown = false;
    taskbarRunning = true;
  }
};

}  // namespace vekhor::fakes
