#include "platform/win32/win_shell.h"

#include <windows.h>

#include <shellapi.h>

namespace vekhor::platform {
namespace {

// ShellExecute reads an absent argument as null: the default verb, no parameters, the current
// folder.
const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

std::intptr_t WinShell::Execute(WindowHandle owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::string& directory, int show) {
  const HINSTANCE result =
      ::ShellExecuteA(reinterpret_cast<HWND>(owner), OrNull(verb), file.c_str(), OrNull(parameters),
                      OrNull(directory), show);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace vekhor::platform
