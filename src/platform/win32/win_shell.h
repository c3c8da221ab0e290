// ShellExecuteW: a file or address opened with its associated program.
#pragma once

#include "platform/shell.h"
#include "platform/win32/system_library.h"

namespace vekhor::platform {

class WinShell final : public Shell {
 public:
  std::intptr_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory,
                        int show) override;
  ElevatedRun RunSelfAsAdministrator(WindowHandle owner, const std::string& parameters,
                                     const std::function<bool()>& whileWaiting) override;

 private:
  SystemLibrary shell32_{L"shell32.dll"};  // with the first use: most starts open nothing
};

}  // namespace vekhor::platform
