// The program's icon in the notification area: added by a start in the tray, removed by the
// unload, added again when the taskbar comes back, and the icon's mouse messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/notify_icon.h"
#include "toolkit/toolkit.h"

namespace vekhor::app {

inline constexpr int kTrayIconResource = 101;
inline constexpr std::uint32_t kTrayIconId = 1;
// The shell reports each mouse event on the icon with this message, the event in lParam.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;  // WM_MOUSEMOVE
inline constexpr int kLeftButtonDoubleClick = 0x203;          // WM_LBUTTONDBLCLK
inline constexpr int kRightButtonUp = 0x205;                  // WM_RBUTTONUP

// One icon per run. The record is kept whole from the add to the delete, so that both name the
// same icon and a new taskbar gets the icon the start made, its tip still dated with the start.
class SysTray {
 public:
  explicit SysTray(platform::NotifyIcon& shell) : shell_(shell) {}
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Gives `host` icon 101 and asks the shell for an icon with the host's window, that picture
  // and the tip "<title> <date>"; true when the shell took it, or had it already.
  bool AddTrayIcon(toolkit::TrayHost& host, const std::string& title, const std::string& date);

  // The end of a start in the tray: the icon, or, when the shell takes none, the window, so that
  // the program never runs with nothing to bring it back. True when the icon is there.
  bool StartInTray(toolkit::TrayHost& host, toolkit::Form& form, const std::string& title,
                   const std::string& date);

  // The unload: removes the icon asked for; nothing when none was. The result does not matter:
  // the program is going either way.
  void RemoveTrayIcon();

  // The taskbar started again (Explorer restarted, or came up after the program) and has lost
  // every icon: the one this run asked for is added again, also when the shell refused it
  // before, as it does while no taskbar runs yet.
  void TaskbarCreated();

  const platform::TrayIconData& Data() const { return data_; }
  // Whether the shell holds this run's icon: it may have refused it, as it does while no
  // taskbar runs yet. Only a present icon can bring a hidden window back.
  bool IconPresent() const { return present_; }

 private:
  platform::NotifyIcon& shell_;
  platform::TrayIconData data_;
  bool wanted_ = false;   // asked for, so a new taskbar gets it and the unload removes it
  bool present_ = false;  // taken by the shell
};

// The icon's mouse move: x carries the shell's mouse message in pixels, as twips. A left
// double-click shows the window, a right-button release pops up the icon's menu; every other
// message does nothing.
void TrayIconMouseMove(const toolkit::TrayHost& host, float x, toolkit::Form& form,
                       toolkit::PopupMenu& menu);

}  // namespace vekhor::app
