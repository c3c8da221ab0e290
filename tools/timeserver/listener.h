// The server's socket, on 127.0.0.1 only.
#pragma once

#include <string>

#include "descriptor.h"

namespace timeserver {

// Bound to 127.0.0.1:`port` (0: a free port) and listening, unless `listen` is false: then
// connections to it are refused. `boundPort` is the port it got; on failure `error` says why.
Descriptor OpenLoopbackSocket(int port, bool listen, int& boundPort, std::string& error);

}  // namespace timeserver
