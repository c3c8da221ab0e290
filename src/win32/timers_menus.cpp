#include "win32/timers_menus.h"

namespace vekhor::win32 {

void WindowTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds > 0 ? milliseconds : 0;
  Update();
}

void WindowTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void WindowTimer::Update() {
  if (enabled_ && interval_ > 0) {
    ::SetTimer(window_, id_, static_cast<UINT>(interval_), nullptr);
  } else {
    ::KillTimer(window_, id_);
  }
}

void WindowMenuEntry::SetCaption(const std::string& caption) {
  caption_ = caption;
  ::ModifyMenuA(menu_, id_, MF_BYCOMMAND | MF_STRING, id_, caption_.c_str());
}

// The owner must be the foreground window, or the menu stays open after a click elsewhere;
// the posted message lets it close properly when chosen from the tray.
void WindowPopupMenu::Popup() {
  POINT at{};
  ::GetCursorPos(&at);
  ::SetForegroundWindow(owner_);
  ::TrackPopupMenu(menu_.get(), 0, at.x, at.y, 0, owner_, nullptr);
  ::PostMessageW(owner_, WM_NULL, 0, 0);
}

}  // namespace vekhor::win32
