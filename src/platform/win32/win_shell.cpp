#include "platform/win32/win_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/ansi_text.h"
#include "platform/win32/module_path.h"
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
  const auto execute = shell32_.Find<decltype(::ShellExecuteA)>("ShellExecuteA");
  if (execute == nullptr) return SE_ERR_NOASSOC;
  const HINSTANCE result = execute(reinterpret_cast<HWND>(owner), OrNull(verb), file.c_str(),
                                   OrNull(parameters), OrNull(directory), show);
  return reinterpret_cast<std::intptr_t>(result);
}

ElevatedRun WinShell::RunSelfAsAdministrator(WindowHandle owner, const std::string& parameters,
                                             const std::function<void()>& whileWaiting) {
  const std::wstring self = ModulePath(nullptr);
  if (self.empty()) return {};
  const std::wstring arguments = FromAnsi(parameters);
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof(run);
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  run.hwnd = reinterpret_cast<HWND>(owner);
  run.lpVerb = L"runas";
  run.lpFile = self.c_str();
  run.lpParameters = arguments.c_str();
  run.nShow = SW_SHOWNORMAL;
  const auto execute = shell32_.Find<decltype(::ShellExecuteExW)>("ShellExecuteExW");
  if (execute == nullptr) return {};
  if (!execute(&run)) {
    return {::GetLastError() == ERROR_CANCELLED ? ElevatedRun::Outcome::Cancelled
                                                : ElevatedRun::Outcome::NotStarted};
  }
  if (run.hProcess == nullptr) return {};
  // The window stays alive meanwhile: its events are handled whenever some arrive.
  while (::MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, INFINITE, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    whileWaiting();
  }
  DWORD status = 1;
  ::GetExitCodeProcess(run.hProcess, &status);
  ::CloseHandle(run.hProcess);
  return {ElevatedRun::Outcome::Ended, status};
}

}  // namespace vekhor::platform
