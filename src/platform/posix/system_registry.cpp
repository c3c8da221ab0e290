// The native build's registry: in memory, empty at start, enumerating as Windows does.
#include <memory>

#include "platform/memory/memory_registry.h"
#include "platform/system.h"

namespace vekhor::platform {

std::unique_ptr<Registry> MakeSystemRegistry() { return std::make_unique<MemoryRegistry>(); }

}  // namespace vekhor::platform
