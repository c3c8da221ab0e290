#include "platform/posix/posix_shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

namespace vekhor::platform {

std::intptr_t PosixShell::Execute(WindowHandle, const std::string&, const std::string& file,
                                  const std::string&, const std::string&, int) {
  constexpr std::intptr_t kFileNotFound = 2;  // as ShellExecute reports a failure
  std::string program = "xdg-open";
  std::vector<char*> argv = {program.data(), const_cast<char*>(file.c_str()), nullptr};
  pid_t child = 0;
  if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    return kFileNotFound;
  }
  // xdg-open hands the file on and ends at once; never wait for the viewer itself.
  int status = 0;
  ::waitpid(child, &status, WNOHANG);
  return 42;
}

}  // namespace vekhor::platform
