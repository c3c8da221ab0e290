// Reading one string value whatever its size.
#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace vekhor {

// The value's data as stored, less the one NUL that ends a REG_SZ value; nullopt when the value
// is missing or cannot be read.
std::optional<std::string> ReadStringValue(platform::Registry& registry, platform::RegistryKey key,
                                           const std::string& valueName);

}  // namespace vekhor
