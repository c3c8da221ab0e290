// The RFC 868 side: what the server does with one accepted connection, per behaviour.
#pragma once

#include <atomic>

#include "behaviour.h"
#include "descriptor.h"

namespace timeserver {

// Serves one connection and closes it. A behaviour that waits gives up once `stopping` is set.
void Serve(Descriptor connection, const Behaviour& behaviour, const std::atomic<bool>& stopping);

}  // namespace timeserver
