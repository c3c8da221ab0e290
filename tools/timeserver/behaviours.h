// What the server does with one accepted connection, per behaviour.
#pragma once

#include "options.h"

namespace timeserver {

// Serves one connection and closes it.
void Serve(int connection, const Behaviour& behaviour);

}  // namespace timeserver
