#include "platform/posix/posix_shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <vector>

extern char** environ;

namespace vekhor::platform {
namespace {

// ShellExecute's answers: above 32 for success, else an error value.
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kNoAssociation = 31;  // SE_ERR_NOASSOC
constexpr std::intptr_t kStarted = 42;

// The shell puts xdg-open in the background and ends at once, so the viewer is never waited for
// and never left a zombie of this process; 127 says there is no xdg-open.
constexpr const char* kLauncher =
    "command -v xdg-open >/dev/null 2>&1 || exit 127; "
    "xdg-open \"$1\" </dev/null >/dev/null 2>&1 & exit 0";

class SpawnActions {
 public:
  SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
  ~SpawnActions() {
    if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return ok_ ? &actions_ : nullptr; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

}  // namespace

std::intptr_t PosixShell::Execute(WindowHandle, const std::string&, const std::string& file,
                                  const std::string&, const std::string&, int) {
  if (file.empty()) return kFileNotFound;
  // The program's sockets and files are not the viewer's business.
  SpawnActions actions;
  if (actions.get() != nullptr) ::posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);
  std::string shell = "/bin/sh";
  std::string option = "-c";
  std::string script = kLauncher;
  std::string name = "vekhor-open";
  std::vector<char*> argv = {
      shell.data(), option.data(), script.data(), name.data(), const_cast<char*>(file.c_str()),
      nullptr};
  pid_t child = 0;
  if (::posix_spawn(&child, shell.c_str(), actions.get(), nullptr, argv.data(), environ) != 0) {
    return kFileNotFound;
  }
  int status = 0;
  pid_t ended = 0;
  do {
    ended = ::waitpid(child, &status, 0);
  } while (ended < 0 && errno == EINTR);
  if (ended != child || !WIFEXITED(status)) return kFileNotFound;
  return WEXITSTATUS(status) == 0 ? kStarted : kNoAssociation;
}

}  // namespace vekhor::platform
