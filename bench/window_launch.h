// One start of a windowed program, as the window start bench sees it: the time until its message
// loop first goes idle, what it holds in memory while idle, and whether it closed when asked.
#pragma once

#include <cstddef>
#include <string>

namespace vekhor::bench {

struct WindowLaunch {
  // False when the process could not be created, or ended or hung before its first idle pass.
  bool reachedIdle = false;
  // From just before CreateProcess to the return of WaitForInputIdle.
  double milliseconds = 0;
  // Whether a shown top-level window of the process existed when it first went idle: if not,
  // the idle pass came before the window and the time says less than it seems to.
  bool shownAtIdle = false;
  std::size_t workingSetBytes = 0;
  std::size_t privateBytes = 0;
  // The window did not close on WM_CLOSE and the process was terminated.
  bool terminated = false;
};

// Starts `path`, waits for its first idle pass, measures it and closes its window again; the
// process has ended when this returns.
WindowLaunch LaunchAndClose(const std::wstring& path);

}  // namespace vekhor::bench
