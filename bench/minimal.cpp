// The yardsticks the Wine benches hold Vekhor.exe against, so that what Wine costs every such
// start is not charged to the program. Built as minimal_window: the smallest program with a
// window, linked as Vekhor.exe is. Built as minimal_close (VEKHOR_MINIMAL_CLOSE): a program
// with the libraries and manifest of Vekhor.exe that ends at once.
#ifdef VEKHOR_MINIMAL_CLOSE
#include <winsock2.h>
// windows.h after winsock2.h, which replaces its older socket declarations.
#include <windows.h>
// iphlpapi.h before icmpapi.h, whose declarations use its types.
#include <iphlpapi.h>
// The rest build on the types of windows.h.
#include <commctrl.h>
#include <icmpapi.h>
#include <shellapi.h>
#include <uxtheme.h>
#include <wininet.h>

using AnyFunction = void (*)();

// One function of each library Vekhor.exe imports, held where the optimiser cannot drop it: a
// library whose functions are never referenced is not imported, and would not be loaded.
static AnyFunction volatile imports[] = {
    reinterpret_cast<AnyFunction>(&::WSAStartup),
    reinterpret_cast<AnyFunction>(&::IcmpCreateFile),
    reinterpret_cast<AnyFunction>(&::InternetGetConnectedState),
    reinterpret_cast<AnyFunction>(&::RegOpenKeyExA),
    reinterpret_cast<AnyFunction>(&::Shell_NotifyIconA),
    reinterpret_cast<AnyFunction>(&::MessageBoxA),
    reinterpret_cast<AnyFunction>(&::GetStockObject),
    reinterpret_cast<AnyFunction>(&::InitCommonControlsEx),
    reinterpret_cast<AnyFunction>(&::SetWindowTheme),
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int missing = 0;
  for (const AnyFunction function : imports) missing += function == nullptr ? 1 : 0;
  return missing;
}
#else
#include <windows.h>

// WM_CLOSE goes to the default, which destroys the window.
static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = L"VekhorBenchMinimalWindow";
  if (::RegisterClassExW(&windowClass) == 0) return 1;
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
