// The pieces a crash-safe save is built from. A save writes the new list into a companion key
// beside the Servers key ("Servers.new"), marks it complete with a last "Total" value, and only
// then replaces the Servers key; a load that finds a complete companion completes the save.
// Once the Servers key holds the new list, the companion's "Total" goes before the companion
// does: check marks are later ticked straight into the Servers key, and a companion that
// outlived its save must never be replayed over them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "servers/server_list.h"

namespace vekhor {

struct StoredServer {
  std::string host;
  std::string checkMark;  // "-1" or "0" as stored
};
using StoredList = std::vector<StoredServer>;

std::string CompanionPath(const ServersLocation& where);

// True when the key is absent afterwards.
bool DeleteKeyIfPresent(platform::Registry& registry, platform::RegistryKey root,
                        const std::string& path);

// Creates the Servers key, which must be absent, and writes the list in the stored form.
bool WriteServersKey(platform::Registry& registry, const ServersLocation& where,
                     const StoredList& list);

// Creates the companion, which must be absent, and writes the list and its "Total" into it.
bool WriteCompanion(platform::Registry& registry, const ServersLocation& where,
                    const StoredList& list);

// Removes the companion's "Total", so that no load replays it, then the companion itself. True
// when the companion is gone.
bool DropCompanion(platform::Registry& registry, const ServersLocation& where);

// The list in the companion when it is complete; nothing when it is absent or cut short.
std::optional<StoredList> ReadCompanion(platform::Registry& registry, const ServersLocation& where);

}  // namespace vekhor
