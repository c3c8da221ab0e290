#include "platform/win32/win_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/ansi_text.h"
#include "platform/win32/module_path.h"
#include "platform/win32/process_wait.h"
#include "platform/win32/unelevated_shell.h"

namespace vekhor::platform {
namespace {

// ShellExecute reads an absent argument as null: the default verb, no parameters, the current
// folder.
const wchar_t* OrNull(const std::wstring& text) {
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
  const auto execute = shell32_.Find<decltype(::ShellExecuteW)>("ShellExecuteW");
  if (execute == nullptr) return SE_ERR_NOASSOC;
  const std::wstring wideVerb = FromUtf8(verb), wideFile = FromUtf8(file),
                     wideParameters = FromUtf8(parameters), wideDirectory = FromUtf8(directory);
  const HINSTANCE result =
      execute(reinterpret_cast<HWND>(owner), OrNull(wideVerb), wideFile.c_str(),
              OrNull(wideParameters), OrNull(wideDirectory), show);
  return reinterpret_cast<std::intptr_t>(result);
}

ElevatedRun WinShell::RunSelfAsAdministrator(WindowHandle owner, const std::string& parameters,
                                             const std::function<bool()>& whileWaiting) {
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
  const bool ended = WaitPumping(run.hProcess, whileWaiting);
  DWORD status = 1;
  if (ended) ::GetExitCodeProcess(run.hProcess, &status);
  ::CloseHandle(run.hProcess);
  return {ended ? ElevatedRun::Outcome::Ended : ElevatedRun::Outcome::Abandoned, status};
}

}  // namespace vekhor::platform
