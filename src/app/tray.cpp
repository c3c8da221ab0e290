#include "app/tray.h"

#include <algorithm>
#include <cmath>

namespace vekhor::app {
namespace {

// Blanks behind the text and its NUL. A longer text is cut so that the NUL still fits: the shell
// reads the tip up to a NUL within the field.
std::array<char, platform::kTipSize> TipField(const std::string& text) {
  std::array<char, platform::kTipSize> field;
  field.fill(' ');
  const std::size_t length = std::min(text.size(), field.size() - 1);
  std::copy_n(text.begin(), length, field.begin());
  field[length] = '\0';
  return field;
}

}  // namespace

bool SysTray::AddTrayIcon(toolkit::TrayHost& host, const std::string& title,
                          const std::string& date) {
  if (present_) return true;
  data_.cbSize = platform::kNotifyIconDataSize;
  data_.hWnd = host.Handle();
  data_.uID = kTrayIconId;
  data_.uFlags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
  data_.uCallbackMessage = kTrayCallbackMessage;
  host.SetPicture(kTrayIconResource);
  data_.hIcon = host.PictureHandle();
  data_.szTip = TipField(title + " " + date);
  wanted_ = true;
  present_ = shell_.ShellNotifyIcon(platform::kNimAdd, data_);
  return present_;
}

bool SysTray::StartInTray(toolkit::TrayHost& host, toolkit::Form& form, const std::string& title,
                          const std::string& date) {
  if (AddTrayIcon(host, title, date)) return true;
  form.SetVisible(true);
  return false;
}

void SysTray::RemoveTrayIcon() {
  if (!wanted_) return;
  wanted_ = present_ = false;
  shell_.ShellNotifyIcon(platform::kNimDelete, data_);
}

void SysTray::TaskbarCreated() {
  if (wanted_) present_ = shell_.ShellNotifyIcon(platform::kNimAdd, data_);
}

void TrayIconMouseMove(const toolkit::TrayHost& host, float x, toolkit::Form& form,
                       toolkit::PopupMenu& menu) {
  const int twipsPerPixel = host.TwipsPerPixel();
  if (twipsPerPixel <= 0) return;
  const long message = std::lround(x / static_cast<float>(twipsPerPixel));
  if (message == kLeftButtonDoubleClick) {
    form.SetVisible(true);
  } else if (message == kRightButtonUp) {
    menu.Popup();
  }
}

}  // namespace vekhor::app
