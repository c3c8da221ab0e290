// Dots per inch of a window and the twips-to-pixels arithmetic built on it. The per-window DPI
// calls exist from Windows 10 on; older systems fall back to the screen's DPI.
#pragma once

#include <windows.h>

namespace vekhor::win32 {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

int WindowDpi(HWND window);

// Truncated, as the window's size is given: 3345 twips are 334 pixels at 144 DPI.
inline int TwipsToPixels(int twips, int dpi) {
  return twips * dpi / kTwipsPerInch;
}
inline float PixelsToTwips(int pixels, int dpi) {
  return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

// The outer size of a window of `style` whose client area is `clientWidth` x `clientHeight`.
SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

}  // namespace vekhor::win32
