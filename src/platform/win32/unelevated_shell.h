// Opening a file or address as the user's own shell does, for a program running as
// administrator: the log's viewer and the browser must not inherit the program's rights.
#pragma once

#include <string>

namespace vekhor::platform {

// Whether this process runs with administrator rights that the user's shell does not have.
bool RunsElevated();

// Asks the shell of the user's desktop (Explorer, unelevated) to run ShellExecute for us, so the
// program it starts has the shell's rights. The texts are UTF-8. False when no desktop shell
// takes the request.
bool ExecuteThroughDesktopShell(const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory,
                                int show);

}  // namespace vekhor::platform
