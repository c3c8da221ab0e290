// The registries the store is tested against, each with a private place for the test's keys.
#pragma once

#include <array>
#include <atomic>
#include <random>
#include <utility>

#include "platform/memory/memory_registry.h"
#include "platform/system.h"
#include "servers/registry_key.h"
#include "servers/registry_value.h"
#include "servers/server_list.h"

namespace vekhor::fakes {

enum class RegistryBackend { MemoryInCreationOrder, MemoryByName, System };

// The in-memory one in Windows' and Wine's enumeration orders, and where it is real, the system's.
inline std::vector<RegistryBackend> RegistryBackendsToTest() {
  std::vector backends{RegistryBackend::MemoryInCreationOrder, RegistryBackend::MemoryByName};
#ifdef _WIN32
  backends.push_back(RegistryBackend::System);
#endif
  return backends;
}

// A registry and the Servers key a test may use: in memory the program's own; in the system one
// below a unique HKCU\Software\VekhorTest-<n>, so no test removes a parent another one creates in.
class RegistryUnderTest {
 public:
  explicit RegistryUnderTest(RegistryBackend backend) {
    if (backend != RegistryBackend::System) {
      registry_ = std::make_unique<platform::MemoryRegistry>(
          backend == RegistryBackend::MemoryByName ? platform::EnumerationOrder::ByName
                                                   : platform::EnumerationOrder::Creation);
      return;
    }
    static std::atomic<int> counter{0};
    registry_ = platform::MakeSystemRegistry();
    base_ = "Software\\VekhorTest-" + std::to_string(std::random_device()()) + "-" +
            std::to_string(counter++);
    servers_.path = base_ + "\\Horolan\\Servers";
  }
  ~RegistryUnderTest() {
    if (base_.empty()) return;
    // Deepest first: a key with subkeys is not deleted.
    for (const std::string& path :
         {servers_.path + ".new", servers_.path, base_ + "\\Horolan", base_}) {
      registry_->DeleteKey(platform::kHkeyCurrentUser, path);
    }
  }

  platform::Registry& registry() { return *registry_; }
  const ServersLocation& servers() const { return servers_; }

 private:
  std::unique_ptr<platform::Registry> registry_;
  std::string base_;
  ServersLocation servers_;
};

using NamedValues = std::vector<std::pair<std::string, std::string>>;

// Every value of a key in the registry's enumeration order, data without its terminator.
inline NamedValues ValuesOf(platform::Registry& registry, platform::RegistryKey root,
                            const std::string& path) {
  NamedValues values;
  const OwnedKey key = OwnedKey::Open(registry, root, path, platform::kKeyRead);
  std::array<char, 16384> name{};
  for (std::uint32_t index = 0; key.IsOpen(); ++index) {
    std::uint32_t length = name.size();
    if (registry.EnumValue(key.Get(), index, name.data(), length, nullptr, nullptr) !=
        platform::kErrorSuccess) {
      break;
    }
    std::string valueName(name.data(), length);
    values.emplace_back(valueName,
                        ReadStringValue(registry, key.Get(), valueName).value_or("<unreadable>"));
  }
  return values;
}

// Creates the key and writes REG_SZ values in the given order, as earlier versions would.
inline void WriteValues(platform::Registry& registry, platform::RegistryKey root,
                        const std::string& path, const NamedValues& values) {
  const OwnedKey key = OwnedKey::Create(registry, root, path);
  for (const auto& [name, data] : values) {
    registry.SetValueEx(key.Get(), name, platform::kRegSz, data);
  }
}

inline bool KeyExists(platform::Registry& registry, platform::RegistryKey root,
                      const std::string& path) {
  return OwnedKey::Open(registry, root, path, platform::kKeyRead).IsOpen();
}

}  // namespace vekhor::fakes
