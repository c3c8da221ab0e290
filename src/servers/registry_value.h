// Reading one string value whatever its size.
#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace vekhor {

// The value's data: a string value (REG_SZ, REG_EXPAND_SZ) up to its first NUL, any other type
// as stored; nullopt when the value is missing or cannot be read.
std::optional<std::string> ReadStringValue(platform::Registry& registry, platform::RegistryKey key,
                                           const std::string& valueName);

}  // namespace vekhor
