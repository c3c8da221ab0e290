#include "platform/win32/win_notify_icon.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>

namespace vekhor::platform {

static_assert(sizeof(NOTIFYICONDATAA::szTip) >= kTipSize);

bool WinNotifyIcon::ShellNotifyIcon(int message, const TrayIconData& data) {
  NOTIFYICONDATAA native{};
  // The record's 88 bytes are the first version's size in the 32-bit layout; a 64-bit shell
  // knows that version by its own size for it (104 bytes). Either way the shell reads 64 tip
  // characters and nothing behind them.
  native.cbSize = data.cbSize == kNotifyIconDataSize ? NOTIFYICONDATAA_V1_SIZE : data.cbSize;
  native.hWnd = reinterpret_cast<HWND>(data.hWnd);
  native.uID = data.uID;
  native.uFlags = data.uFlags;
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = reinterpret_cast<HICON>(data.hIcon);
  std::copy(data.szTip.begin(), data.szTip.end(), native.szTip);
  const auto notify = shell32_.Find<decltype(::Shell_NotifyIconA)>("Shell_NotifyIconA");
  return notify != nullptr && notify(static_cast<DWORD>(message), &native) != FALSE;
}

}  // namespace vekhor::platform
