// What the window shows after it ran the program's /close again as administrator, the offer it
// makes once Windows refused a clock change for want of the right to set the clock.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/shell.h"
#include "res/catalogue.h"

namespace vekhor::app {

// The arguments of that run: one synchronization without a window, told by its exit status.
inline constexpr const char* kAdministratorRunArguments = "/close";

// The status line for how the run went: its exit status 0 (the clock set, with the time now),
// 1 (no time), 2 (refused even so), or the consent refused.
std::string AdministratorRunStatus(const platform::ElevatedRun& run, const TextSource& texts,
                                   platform::Clock& clock);

}  // namespace vekhor::app
