#include "win32/win32_toolkit.h"

#include <commctrl.h>

namespace vekhor::win32 {
namespace {

HINSTANCE WithCommonControls(HINSTANCE instance) {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
  ::InitCommonControlsEx(&classes);
  return instance;
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance)
    : instance_(kInstanceName), facts_(instance), form_(WithCommonControls(instance)) {}

int Win32Toolkit::MsgBox(const std::string& prompt, int style) {
  // After the unload the window is gone: the box then stands on its own.
  const auto window = reinterpret_cast<HWND>(form_.Handle());
  return ::MessageBoxA(::IsWindow(window) ? window : nullptr, prompt.c_str(),
                       toolkit::kApplicationTitle, static_cast<UINT>(style));
}

// Tab and the arrow keys move between the controls as in a dialog box.
void Win32Toolkit::Dispatch(MSG& message) {
  const auto window = reinterpret_cast<HWND>(form_.Handle());
  form_.RelayToToolTips(message);
  if (::IsWindow(window) && ::IsDialogMessageW(window, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Win32Toolkit::DoEvents() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The loop that runs the program must still see it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

int Win32Toolkit::RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    Dispatch(message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace vekhor::win32
