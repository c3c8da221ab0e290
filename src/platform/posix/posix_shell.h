// Opens a file with the desktop's associated program (xdg-open), without waiting for it.
#pragma once

#include "platform/shell.h"

namespace vekhor::platform {

class PosixShell final : public Shell {
 public:
  std::intptr_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory,
                        int show) override;
  // There is no consent prompt to ask for rights with: never started.
  ElevatedRun RunSelfAsAdministrator(WindowHandle, const std::string&,
                                     const std::function<bool()>&) override {
    return {};
  }
};

}  // namespace vekhor::platform
