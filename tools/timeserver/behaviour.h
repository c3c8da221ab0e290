// What the server does in one run, and the text that names it on the command line:
//   NAME[:ARGUMENT][,KEY=VALUE]...
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace timeserver {

enum class Kind {
  // RFC 868 over TCP.
  Time,
  Now,
  Bytes,
  Silence,
  Close,
  Flood,
  Split,
  Refuse,
  // SNTP over UDP.
  Sntp,
  SntpKissOfDeath,
  SntpWrongOrigin,
  SntpLeap3,
  SntpShort,
  SntpSilence,
};

struct Behaviour {
  Kind kind = Kind::Time;
  std::string bytes;                       // Bytes: the answer; SntpKissOfDeath: the code
  std::chrono::nanoseconds offset{0};      // the served clock is the wall clock plus this
  std::chrono::milliseconds at{500};       // Time: the point of the second the answer goes at
  std::chrono::milliseconds roundTrip{0};  // SNTP: the path simulated, half each way
};

bool IsSntp(Kind kind);

// Nothing, with a message in `error`, for a text that names no behaviour.
std::optional<Behaviour> ParseBehaviour(const std::string& text, std::string& error);

}  // namespace timeserver
