// Keys addressed by one full textual path ("HKEY_LOCAL_MACHINE\Software\...\Run"): the layer
// under the autostart setting. Every operation fails quietly and leaves the registry unchanged.
#pragma once

#include <string>

#include "platform/registry.h"

namespace vekhor {

// The predefined root named exactly (case-sensitively) by rootName, or 0.
platform::RegistryKey GetRootKey(const std::string& rootName);

// Splits "ROOT\sub\key" into its root and "sub\key"; a root name alone gives the empty path.
// A path ending in a backslash or not starting with "HKEY_" is left as it is and root is not
// written, so callers set root to 0 first.
void SplitKeyPath(std::string& path, platform::RegistryKey& root);

// Writes a REG_SZ value into an existing key (never creates one). True when it was written.
bool SetStringValue(platform::Registry& registry, const std::string& keyPath,
                    const std::string& valueName, const std::string& valueData);

// True when the value was deleted.
bool DeleteValue(platform::Registry& registry, const std::string& keyPath,
                 const std::string& valueName);

}  // namespace vekhor
