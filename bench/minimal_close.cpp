// The yardstick of the close mode bench: a program that Windows loads with the same libraries
// and the same manifest as Vekhor.exe and that ends at once, so that what Wine costs every such
// start is not charged to the program's own run.
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

namespace {

using AnyFunction = void (*)();

// One function of each library Vekhor.exe imports, held where the optimiser cannot drop it: a
// library whose functions are never referenced is not imported, and would not be loaded.
AnyFunction volatile imports[] = {
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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int missing = 0;
  for (const AnyFunction function : imports) {
    if (function == nullptr) ++missing;
  }
  return missing;
}
