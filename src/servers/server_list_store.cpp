// Loading and saving the server list.
#include <array>
#include <optional>

#include "servers/registry_key.h"
#include "servers/registry_value.h"
#include "servers/server_list.h"
#include "servers/server_order.h"
#include "servers/stored_servers.h"

namespace vekhor {
namespace {

// Names that do not fit are skipped rather than ending the enumeration.
constexpr std::uint32_t kNameBuffer = 2000;

std::vector<std::string> ServerValueNames(platform::Registry& registry, platform::RegistryKey key) {
  std::vector<std::string> names;
  std::array<char, kNameBuffer> buffer{};
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t length = kNameBuffer;
    const std::int32_t status =
        registry.EnumValue(key, index, buffer.data(), length, nullptr, nullptr);
    if (status == platform::kErrorMoreData) continue;
    if (status != platform::kErrorSuccess) break;
    std::string name(buffer.data(), length);
    if (name.find("ServerChecked") == std::string::npos) names.push_back(std::move(name));
  }
  return names;
}

// Replaces the Servers key with the companion's list and drops the companion.
bool CompleteSave(platform::Registry& registry, const ServersLocation& where,
                  const StoredList& list) {
  return DeleteKeyIfPresent(registry, where.root, where.path) &&
         WriteServersKey(registry, where, list) && DropCompanion(registry, where);
}

// Leaves the Servers key as the one complete list and no companion. A companion that is not
// complete was cut short before its save committed, or spent after it: either way the Servers
// key holds the list.
bool SettleEarlierSave(platform::Registry& registry, const ServersLocation& where) {
  if (const auto pending = ReadCompanion(registry, where)) {
    return CompleteSave(registry, where, *pending);
  }
  return DropCompanion(registry, where);
}

}  // namespace

namespace {

bool Load(platform::Registry& registry, ServerCollection& servers, const ServersLocation& where,
          bool settle) {
  if (const auto pending = ReadCompanion(registry, where)) {
    // Should completing it fail, the companion stays and the next load tries again.
    if (settle) CompleteSave(registry, where, *pending);
    servers.clear();
    for (const StoredServer& server : *pending) servers.push_back(server.host);
    return true;
  }
  // Should dropping it fail, the next save or load drops it.
  if (settle) DropCompanion(registry, where);
  const OwnedKey key = OwnedKey::Open(registry, where.root, where.path, platform::kKeyRead);
  if (!key.IsOpen()) return false;
  std::vector<std::string> names = ServerValueNames(registry, key.Get());
  OrderByServerNumber(names);
  servers.clear();
  servers.reserve(names.size());
  // A value that cannot be read still takes its place, so that the check marks, matched by
  // position, stay with their servers.
  for (const std::string& name : names) {
    servers.push_back(ReadStringValue(registry, key.Get(), name).value_or(""));
  }
  return true;
}

}  // namespace

bool LoadServers(platform::Registry& registry, ServerCollection& servers,
                 const ServersLocation& where) {
  return Load(registry, servers, where, true);
}

bool ReadServers(platform::Registry& registry, ServerCollection& servers,
                 const ServersLocation& where) {
  return Load(registry, servers, where, false);
}

std::string ReadServerValue(platform::Registry& registry, const std::string& valueName,
                            const ServersLocation& where) {
  const OwnedKey key = OwnedKey::Open(registry, where.root, where.path, platform::kKeyRead);
  if (!key.IsOpen()) return "";
  return ReadStringValue(registry, key.Get(), valueName).value_or("");
}

bool SaveServers(platform::Registry& registry, const ServerCollection& servers,
                 const ServerCheckMarks& checkMarks, const ServersLocation& where) {
  StoredList list;
  list.reserve(servers.size());
  for (std::size_t i = 0; i < servers.size(); ++i) {
    list.push_back({servers[i], checkMarks.IsChecked(i) ? "-1" : "0"});
  }
  if (!SettleEarlierSave(registry, where)) return false;
  if (!WriteCompanion(registry, where, list)) {
    DropCompanion(registry, where);
    return false;
  }
  // The new list is complete; deleting the Servers key commits it.
  if (!DeleteKeyIfPresent(registry, where.root, where.path)) {
    DropCompanion(registry, where);
    return false;
  }
  // One more try from an empty key: a companion left complete would be replayed at the next
  // start over every check mark ticked until then.
  if (!WriteServersKey(registry, where, list)) return CompleteSave(registry, where, list);
  return DropCompanion(registry, where);
}

bool CreateServersKey(platform::Registry& registry, const ServersLocation& where) {
  return OwnedKey::Create(registry, where.root, where.path).IsOpen();
}

bool DeleteServersKey(platform::Registry& registry, const ServersLocation& where) {
  // The companion first: were the Servers key to go first, a load could bring the list back.
  return DeleteKeyIfPresent(registry, where.root, CompanionPath(where)) &&
         DeleteKeyIfPresent(registry, where.root, where.path);
}

}  // namespace vekhor
