// The server's socket, on 127.0.0.1 only.
#pragma once

#include <string>

#include "descriptor.h"

namespace timeserver {

enum class SocketKind {
  Listening,  // TCP, accepting connections
  Refusing,   // TCP, bound but not listening: connections to it are refused
  Datagram,   // UDP, with each datagram's arrival time
};

// Bound to 127.0.0.1:`port` (0: a free port). `boundPort` is the port it got; on failure `error`
// says why.
Descriptor OpenLoopbackSocket(SocketKind kind, int port, int& boundPort, std::string& error);

}  // namespace timeserver
