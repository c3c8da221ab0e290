// ShellExecute: open a file or address with the program associated with it.
#pragma once

#include <cstdint>
#include <string>

namespace vekhor::platform {

using WindowHandle = std::uintptr_t;
inline constexpr int kShowNormal = 1;

class Shell {
 public:
  virtual ~Shell() = default;
  // Returns a value above 32 on success, as ShellExecute does.
  virtual std::intptr_t Execute(WindowHandle owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::string& directory, int show) = 0;
};

}  // namespace vekhor::platform
