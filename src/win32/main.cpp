// WinMain of Vekhor.exe: the main window is the program. It is created with the real window
// toolkit and the system's platform, loaded, and lives until the message loop ends. Close mode
// shows nothing and needs no window: its main window is made of plain values.
#include <windows.h>

#include "app/command_line.h"
#include "app/frm_main.h"
#include "platform/system.h"
#include "win32/win32_toolkit.h"
#include "win32/windowless_toolkit.h"

namespace {

using namespace vekhor;

// Syncs once and tells scripts and scheduled tasks how it went.
int RunCloseMode(HINSTANCE instance, platform::Platform& system) {
  win32::WindowlessToolkit toolkit(instance);
  app::frmMain form(toolkit, system);
  form.Form_Load();  // the run, then the unload
  return form.ExitStatus();
}

// No desktop to put the window on: said in the log, and by the exit status.
int EndWithoutWindow(toolkit::Toolkit& toolkit, platform::Platform& system) {
  RegistrySettingsStore settings(system.registry);
  EventLog log(settings, toolkit, system.clock, system.shell);
  log.WriteLog(toolkit.Texts().LoadResString(text::kWindowNotCreated));
  return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything loads a DLL: from the system folder alone, never from the program's own,
  // where a DLL dropped beside a download would run inside the program.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  auto system = platform::MakeSystemPlatform();
  if (app::AsksForCloseMode(win32::ArgumentsOf(::GetCommandLineW()))) {
    return RunCloseMode(instance, system->platform());
  }
  win32::Win32Toolkit toolkit(instance);
  if (!toolkit.WindowCreated()) return EndWithoutWindow(toolkit, system->platform());
  // frmMain outlives every handler: it goes only after the message loop has ended.
  app::frmMain form(toolkit, system->platform());
  form.Form_Load();
  const int loop = toolkit.RunMessageLoop();
  return loop != 0 ? loop : form.ExitStatus();
}
