// The SNTP side: answers the datagrams that reach the server's UDP socket, one at a time.
#pragma once

#include "behaviour.h"

namespace timeserver {

// Reads one waiting datagram from `socket` and, when it is a client request the behaviour
// answers, sends the reply back to its sender. Returns at once when nothing is waiting.
void AnswerDatagram(int socket, const Behaviour& behaviour);

}  // namespace timeserver
