#include "platform/win32/win_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/unelevated_shell.h"

namespace vekhor::platform {
namespace {

// ShellExecute reads an absent argument as null: the default verb, no parameters, the current
// folder.
const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

constexpr std::intptr_t kOpened = 33;  // ShellExecute's results above 32 are successes

}  // namespace

// Run as administrator, the program hands the request to the user's desktop shell, so that the
// log's viewer or the browser does not start with the program's rights; where no desktop shell
// takes it, nothing is opened rather than opened elevated.
std::intptr_t WinShell::Execute(WindowHandle owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::string& directory, int show) {
  if (RunsElevated()) {
    return ExecuteThroughDesktopShell(verb, file, parameters, directory, show)
               ? kOpened
               : SE_ERR_ACCESSDENIED;
  }
  const HINSTANCE result =
      ::ShellExecuteA(reinterpret_cast<HWND>(owner), OrNull(verb), file.c_str(), OrNull(parameters),
                      OrNull(directory), show);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace vekhor::platform
