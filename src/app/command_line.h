// The program's one command-line switch.
#pragma once

#include <string_view>

namespace vekhor::app {

// True when any piece of the arguments, split at every "/", starts with "close" in any case:
// "/close", "/CLOSE", "/closenow", "close" and "x/close" all ask for close mode.
bool AsksForCloseMode(std::string_view arguments);

}  // namespace vekhor::app
