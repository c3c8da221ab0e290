// ShellExecute: open a file or address with the program associated with it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vekhor::platform {

using WindowHandle = std::uintptr_t;
inline constexpr int kShowNormal = 1;

// How a run of the program as administrator went. Abandoned: the window unloaded while it ran,
// and it was left to end on its own.
struct ElevatedRun {
  enum class Outcome { Ended, Cancelled, NotStarted, Abandoned };
  Outcome outcome = Outcome::NotStarted;
  std::uint32_t exitStatus = 0;  // when it ended
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Returns a value above 32 on success, as ShellExecute does. The texts are UTF-8: a file in a
  // folder named outside the ANSI code page opens all the same.
  virtual std::intptr_t Execute(WindowHandle owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::string& directory, int show) = 0;
  // Starts this program's own file again with `parameters`, as administrator (ShellExecuteEx
  // with the verb "runas", which asks for the user's consent), and waits for it to end, running
  // `whileWaiting` whenever window events are pending so that the window stays alive; the wait
  // ends early, Abandoned, once `whileWaiting` returns false. Cancelled when the user refused the
  // consent.
  virtual ElevatedRun RunSelfAsAdministrator(WindowHandle owner, const std::string& parameters,
                                             const std::function<bool()>& whileWaiting) = 0;
};

}  // namespace vekhor::platform
