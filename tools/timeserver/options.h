// Command line of the time server: --behaviour B --port P [-- command ...]
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "behaviour.h"

namespace timeserver {

struct Options {
  Behaviour behaviour;
  int port = 37;
  std::vector<std::string> command;  // run with VEKHOR_TIME_PORT set, then exit with its status
};

// Nothing, with a message in `error`, for a bad command line.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

}  // namespace timeserver
