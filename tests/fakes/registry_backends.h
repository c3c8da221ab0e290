// The registries the store is tested against: the in-memory one in both enumeration orders
// and, in the Win32 build, the real registry, each with a private place for the test's keys.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "servers/server_list.h"

namespace vekhor::fakes {

enum class RegistryBackend { MemoryInCreationOrder, MemoryByName, System };

// The system registry is only worth testing where it is the real one.
std::vector<RegistryBackend> RegistryBackendsToTest();
std::string BackendName(RegistryBackend backend);

// A registry and the Servers key a test may use. An in-memory registry is the test's own, so the
// program's own key serves. In the system registry the key is
// HKEY_CURRENT_USER\Software\VekhorTest-<unique>\Horolan\Servers, removed at the end; it shares
// no parent but Software with tests running beside it: a parent one test removes while another
// creates below it (a create walks the path one key at a time) makes that create fail.
class RegistryUnderTest {
 public:
  explicit RegistryUnderTest(RegistryBackend backend);
  ~RegistryUnderTest();
  RegistryUnderTest(const RegistryUnderTest&) = delete;
  RegistryUnderTest& operator=(const RegistryUnderTest&) = delete;

  platform::Registry& registry() { return *registry_; }
  const ServersLocation& servers() const { return servers_; }

 private:
  std::unique_ptr<platform::Registry> registry_;
  std::string base_;
  ServersLocation servers_;
};

using NamedValues = std::vector<std::pair<std::string, std::string>>;

// Every value of a key in the registry's enumeration order, data without its terminator.
NamedValues ValuesOf(platform::Registry& registry, platform::RegistryKey root,
                     const std::string& path);
// Creates the key and writes REG_SZ values in the given order, as earlier versions would.
void WriteValues(platform::Registry& registry, platform::RegistryKey root, const std::string& path,
                 const NamedValues& values);
bool KeyExists(platform::Registry& registry, platform::RegistryKey root, const std::string& path);

}  // namespace vekhor::fakes
