#include "window_launch.h"

#include <windows.h>
// psapi.h builds on the types of windows.h.
#include <psapi.h>

#include "timing.h"

namespace vekhor::bench {
namespace {

constexpr DWORD kIdleTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 10000;
constexpr DWORD kWindowPollMs = 20;

struct Search {
  DWORD processId;
  HWND found;
};

// The program's own window: shown, top-level and unowned, which leaves out tooltips and the
// hidden helper windows a toolkit may create.
BOOL CALLBACK MatchShownWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && ::IsWindowVisible(window) &&
      ::GetWindow(window, GW_OWNER) == nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND ShownWindowOf(DWORD processId) {
  Search search{processId, nullptr};
  ::EnumWindows(&MatchShownWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void MeasureMemory(HANDLE process, WindowLaunch& launch) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters))) {
    return;
  }
  launch.workingSetBytes = counters.WorkingSetSize;
  // Windows reports the private commit in both fields; an older Wine fills only the second.
  launch.privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// Closes the window as its close box does; a program that ignores that, or never showed its
// window, is terminated so that the next start finds the screen and the prefix as before.
bool CloseByWindow(const PROCESS_INFORMATION& process) {
  HWND window = ShownWindowOf(process.dwProcessId);
  for (DWORD waited = 0; window == nullptr && waited < kCloseTimeoutMs; waited += kWindowPollMs) {
    if (::WaitForSingleObject(process.hProcess, kWindowPollMs) == WAIT_OBJECT_0) return true;
    window = ShownWindowOf(process.dwProcessId);
  }
  if (window != nullptr && ::PostMessageW(window, WM_CLOSE, 0, 0) &&
      ::WaitForSingleObject(process.hProcess, kCloseTimeoutMs) == WAIT_OBJECT_0) {
    return true;
  }
  ::TerminateProcess(process.hProcess, 1);
  ::WaitForSingleObject(process.hProcess, kCloseTimeoutMs);
  return false;
}

}  // namespace

WindowLaunch LaunchAndClose(const std::wstring& path) {
  WindowLaunch launch;
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  bool created = false;
  DWORD idle = WAIT_FAILED;
  launch.milliseconds = MillisecondsOf([&] {
    created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process) != FALSE;
    if (created) idle = ::WaitForInputIdle(process.hProcess, kIdleTimeoutMs);
  });
  if (!created) return launch;
  // WaitForInputIdle also returns 0 when the process has ended: that start reached no idle pass.
  const bool running = ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
  launch.reachedIdle = idle == 0 && running;
  if (launch.reachedIdle) {
    launch.shownAtIdle = ShownWindowOf(process.dwProcessId) != nullptr;
    MeasureMemory(process.hProcess, launch);
  }
  if (running) launch.terminated = !CloseByWindow(process);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return launch;
}

}  // namespace vekhor::bench
