// What every control of the main window shares: the module, the window, its DPI, its fonts and
// the one tool-tip window.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/system_library.h"
#include "toolkit/layout.h"
#include "win32/dpi.h"
#include "win32/font_cache.h"
#include "win32/gdi_objects.h"

namespace vekhor::win32 {

struct WindowContext {
  HINSTANCE instance = nullptr;
  HWND main = nullptr;
  HWND toolTips = nullptr;
  int dpi = kDefaultDpi;
  FontCache fonts;
  platform::SystemLibrary uxtheme{L"uxtheme.dll"};

  int Pixels(int twips) const { return TwipsToPixels(twips, dpi); }
};

// Windows' control identifier of a control of the layout table.
inline int ControlIdentifier(toolkit::ControlId id) {
  return toolkit::kFirstControlId + static_cast<int>(id);
}

// A text as the ANSI functions take it, and a window's text as they return it.
std::string WindowTextA(HWND window);

}  // namespace vekhor::win32
