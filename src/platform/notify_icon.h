// Shell_NotifyIconA: the program's icon in the notification area of the taskbar.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/shell.h"

namespace vekhor::platform {

// Requests.
inline constexpr int kNimAdd = 0;
inline constexpr int kNimDelete = 2;

// Which fields of the record count.
inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;

// The first, ANSI form of NOTIFYICONDATA: 88 bytes in the 32-bit layout. Handles are kept at
// pointer width; the backend lays the fields out as the shell of its own width expects.
inline constexpr std::uint32_t kNotifyIconDataSize = 88;
inline constexpr std::size_t kTipSize = 64;

struct TrayIconData {
  std::uint32_t cbSize = 0;
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  // ANSI text ending in a NUL within the field.
  std::array<char, kTipSize> szTip{};
  friend bool operator==(const TrayIconData&, const TrayIconData&) = default;
};

class NotifyIcon {
 public:
  virtual ~NotifyIcon() = default;
  // True when the shell did what `message` asks.
  virtual bool ShellNotifyIcon(int message, const TrayIconData& data) = 0;
};

// A desktop without a notification area: every request is refused.
class NoNotificationArea final : public NotifyIcon {
 public:
  bool ShellNotifyIcon(int, const TrayIconData&) override { return false; }
};

}  // namespace vekhor::platform
