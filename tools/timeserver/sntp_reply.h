// The SNTP server's reply to one datagram (RFC 4330), per behaviour.
#pragma once

#include <string>

#include "behaviour.h"
#include "served_clock.h"

namespace timeserver {

// A client's request: at least 48 bytes, mode 3. Anything else gets no reply.
bool IsClientRequest(const std::string& datagram);

// The reply to a client's `request` (any SNTP behaviour but sntp-silence), with `received` and
// `transmit` as its receive and transmit timestamps.
std::string SntpReply(const std::string& request, const Behaviour& behaviour, ServedTime received,
                      ServedTime transmit);

}  // namespace timeserver
