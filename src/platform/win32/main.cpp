// WinMain of Vekhor.exe: the main window is the program. It is created with the real window
// toolkit and the system's platform, loaded, and lives until the message loop ends.
#include <windows.h>

#include "app/frm_main.h"
#include "platform/system.h"
#include "platform/win32/window/win32_toolkit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace vekhor;
  auto system = platform::MakeSystemPlatform();
  platform::window::Win32Toolkit toolkit(instance);
  if (!toolkit.WindowCreated()) return 1;
  // frmMain outlives every handler: it goes only after the message loop has ended.
  app::frmMain form(toolkit, system->platform());
  form.Form_Load();
  const int loop = toolkit.RunMessageLoop();
  // Close mode tells scripts and scheduled tasks how its run went.
  return loop != 0 ? loop : form.ExitStatus();
}
