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

// A registry and a key of HKEY_CURRENT_USER that belongs to one test alone; the keys below
// it that the test used are removed again at the end. It shares no parent but Software with
// tests running beside it: a parent one test removes while another creates below it (a
// create walks the path one key at a time) makes that create fail.
class RegistryUnderTest {
 public:
  explicit RegistryUnderTest(RegistryBackend backend);
  ~RegistryUnderTest();
  RegistryUnderTest(const RegistryUnderTest&) = delete;
  RegistryUnderTest& operator=(const RegistryUnderTest&) = delete;

  platform::Registry& registry() { return *registry_; }
  RegistryBackend backend() const { return backend_; }
  // "Software\VekhorTest-<unique>", below HKEY_CURRENT_USER.
  const std::string& base() const { return base_; }
  // The test's own Servers key, <base>\Horolan\Servers.
  const ServersLocation& servers() const { return servers_; }
  // A key below base() that is removed at the end; returns its path below the root.
  std::string Key(const std::string& relative);

 private:
  RegistryBackend backend_;
  std::unique_ptr<platform::Registry> registry_;
  std::string base_;
  ServersLocation servers_;
  std::vector<std::string> extraKeys_;
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
