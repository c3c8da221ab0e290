// Command line of the time server: --behaviour B --port P [-- command ...]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace timeserver {

enum class Kind { Time, Offset, Now, Bytes, Silence, Close, Flood, Split, Refuse };

struct Behaviour {
  Kind kind = Kind::Time;
  std::string bytes;            // for Kind::Bytes
  long long offsetSeconds = 0;  // for Kind::Offset
};

struct Options {
  Behaviour behaviour;
  int port = 37;
  std::vector<std::string> command;  // run with VEKHOR_TIME_PORT set, then exit with its status
};

// Nothing, with a message in `error`, for a bad command line.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);
std::optional<Behaviour> ParseBehaviour(const std::string& text);

}  // namespace timeserver
