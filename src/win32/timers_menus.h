// Window timers and the pop-up menu of the main window.
#pragma once

#include <windows.h>

#include "toolkit/toolkit.h"
#include "win32/gdi_objects.h"

namespace vekhor::win32 {

// A SetTimer timer of the main window, running while enabled with a non-zero interval.
class WindowTimer final : public toolkit::Timer {
 public:
  WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~WindowTimer() override { ::KillTimer(window_, id_); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  void SetInterval(int milliseconds) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void Ticked() {
    if (onTick) onTick();
  }

 private:
  void Update();
  HWND window_;
  UINT_PTR id_;
  int interval_ = 0;
  bool enabled_ = false;
};

class WindowMenuEntry final : public toolkit::MenuEntry {
 public:
  WindowMenuEntry(HMENU menu, UINT id) : menu_(menu), id_(id) {}
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override { return caption_; }
  void Clicked() {
    if (onClick) onClick();
  }

 private:
  HMENU menu_;
  UINT id_;
  std::string caption_;
};

class WindowPopupMenu final : public toolkit::PopupMenu {
 public:
  explicit WindowPopupMenu(HWND owner) : owner_(owner), menu_(::CreatePopupMenu()) {}
  HMENU Menu() const { return menu_.get(); }
  void Popup() override;

 private:
  HWND owner_;
  UniqueMenu menu_;
};

}  // namespace vekhor::win32
