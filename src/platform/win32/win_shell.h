// ShellExecuteA: a file or address opened with its associated program.
#pragma once

#include "platform/shell.h"

namespace vekhor::platform {

class WinShell final : public Shell {
 public:
  std::intptr_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory,
                        int show) override;
};

}  // namespace vekhor::platform
