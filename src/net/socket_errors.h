// Readable texts for the Windows Sockets error codes a connection can record.
#pragma once

#include <string>

namespace vekhor {

// The catalogue text of `code`, or "Case unknown in TCPIP::SetLastErrorCode = <code>".
std::string SocketErrorText(int code);

}  // namespace vekhor
