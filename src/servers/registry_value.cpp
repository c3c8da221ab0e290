// Values are read whole at the size the registry reports, so no fixed buffer truncates or pads
// them.
#include "servers/registry_value.h"

#include <algorithm>

namespace vekhor {

// Most values (host names, check marks, settings) fit the first buffer, so one query reads them;
// a longer one is read at the size the registry then reports. The value can grow between asking
// for its size and reading it: then it is asked for again.
std::optional<std::string> ReadStringValue(platform::Registry& registry, platform::RegistryKey key,
                                           const std::string& valueName) {
  std::uint32_t size = 256;
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string data(size, '\0');
    std::uint32_t type = 0;
    const std::int32_t status = registry.QueryValueEx(key, valueName, &type, data.data(), size);
    if (status == platform::kErrorMoreData) {
      if (registry.QueryValueEx(key, valueName, nullptr, nullptr, size) !=
          platform::kErrorSuccess) {
        return std::nullopt;
      }
      continue;
    }
    if (status != platform::kErrorSuccess) return std::nullopt;
    data.resize(size);
    // A string ends at its first NUL, as Windows' own readers take it: some tools write the NUL
    // inside the data, with or without bytes behind it, and a host name kept with it would no
    // longer match its list entry, which the list control cuts there.
    const bool isString = type == platform::kRegSz || type == 2;  // REG_EXPAND_SZ
    if (isString) data.resize(std::min(data.find('\0'), data.size()));
    return data;
  }
  return std::nullopt;
}

}  // namespace vekhor
