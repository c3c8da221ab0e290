// The yardsticks the Wine start bench holds Vekhor.exe against, so that what Wine costs every
// start is not charged to the program. Built as minimal_window: the smallest program with a
// window. Built as minimal_close (VEKHOR_MINIMAL_CLOSE): a program with the libraries and
// manifest of Vekhor.exe that ends at once.
#ifdef VEKHOR_MINIMAL_CLOSE
#include <windows.h>

#include <commctrl.h>

using AnyFunction = void (*)();

// One function of each library Vekhor.exe imports, held where the optimiser cannot drop it: a
// library whose functions are never referenced is not imported, and would not be loaded.
static AnyFunction volatile imports[] = {
    reinterpret_cast<AnyFunction>(&::RegOpenKeyExA),
    reinterpret_cast<AnyFunction>(&::MessageBoxA),
    reinterpret_cast<AnyFunction>(&::GetStockObject),
    reinterpret_cast<AnyFunction>(&::InitCommonControlsEx),
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int missing = 0;
  for (const AnyFunction function : imports) missing += function == nullptr ? 1 : 0;
  return missing;
}
#else
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSW windowClass{};
  // WM_CLOSE goes to the default, which destroys the window.
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
  };
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = L"VekhorBenchMinimalWindow";
  if (::RegisterClassW(&windowClass) == 0) return 1;
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Minimal window",
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, show);
  ::UpdateWindow(window);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
#endif
