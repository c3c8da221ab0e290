// The server list in the registry: the Servers key holds "Server<n>" = host name and
// "ServerChecked<n>" = "-1" (checked) or "0" for n = 1, 2, ..., created in that alternating
// order, the form earlier versions of the program read and write.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "servers/registry_settings_store.h"

namespace vekhor {

// The main window's ordered host names; entry i belongs to list entry i.
using ServerCollection = std::vector<std::string>;

// The check marks of the server list box.
class ServerCheckMarks {
 public:
  virtual ~ServerCheckMarks() = default;
  virtual bool IsChecked(std::size_t index) const = 0;
};

// Where the list lives; tests and benchmarks move it to a key of their own.
struct ServersLocation {
  platform::RegistryKey root = platform::kHkeyCurrentUser;
  // The settings store's section "Horolan\Servers": single check marks are written there too.
  std::string path = RegistrySettingsStore::SectionPath(
      kSettingsApplication, std::string(kSettingsSection) + "\\Servers");
};

// Replaces the collection with the stored list and returns true; without a stored list the
// collection is left as it was. Servers come in the order of their numbers; values of other
// names (not containing "ServerChecked") follow in the registry's order. A save that was cut
// short after its new list was complete is completed first; what is left of any other save is
// removed.
bool LoadServers(platform::Registry& registry, ServerCollection& servers,
                 const ServersLocation& where = {});

// As LoadServers, but writing nothing: a save under way, or cut short, is left to the instance
// that owns the list; the list a complete companion holds is the one read.
bool ReadServers(platform::Registry& registry, ServerCollection& servers,
                 const ServersLocation& where = {});

// The data of one value of the Servers key as stored, or the empty text.
std::string ReadServerValue(platform::Registry& registry, const std::string& valueName,
                            const ServersLocation& where = {});

// Rewrites the Servers key from the collection and the check marks. At every moment either the
// old or the new list is complete in the registry for LoadServers to find. False when the save
// did not end cleanly: the previous list is kept unless the new one was already complete, or
// the new list is stored but its companion is left behind, spent, for the next save or load to
// remove.
bool SaveServers(platform::Registry& registry, const ServerCollection& servers,
                 const ServerCheckMarks& checkMarks, const ServersLocation& where = {});

bool CreateServersKey(platform::Registry& registry, const ServersLocation& where = {});

// Deletes the stored list; true when none is left.
bool DeleteServersKey(platform::Registry& registry, const ServersLocation& where = {});

// Appends the twelve default time servers.
void AddDefaultServers(ServerCollection& servers);

}  // namespace vekhor
