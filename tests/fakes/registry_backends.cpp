#include "fakes/registry_backends.h"

#include <array>
#include <atomic>
#include <chrono>
#include <random>

#include "platform/memory/memory_registry.h"
#include "platform/system.h"
#include "servers/registry_key.h"
#include "servers/registry_value.h"

namespace vekhor::fakes {
namespace {

std::string UniqueName() {
  static std::atomic<int> counter{0};
  std::random_device random;
  return std::to_string(random()) + "-" + std::to_string(counter++);
}

std::unique_ptr<platform::Registry> MakeRegistry(RegistryBackend backend) {
  switch (backend) {
    case RegistryBackend::MemoryInCreationOrder:
      return std::make_unique<platform::MemoryRegistry>(platform::EnumerationOrder::Creation);
    case RegistryBackend::MemoryByName:
      return std::make_unique<platform::MemoryRegistry>(platform::EnumerationOrder::ByName);
    case RegistryBackend::System:
      break;
  }
  return platform::MakeSystemRegistry();
}

}  // namespace

std::vector<RegistryBackend> RegistryBackendsToTest() {
  std::vector<RegistryBackend> backends{RegistryBackend::MemoryInCreationOrder,
                                        RegistryBackend::MemoryByName};
#ifdef _WIN32
  backends.push_back(RegistryBackend::System);
#endif
  return backends;
}

std::string BackendName(RegistryBackend backend) {
  switch (backend) {
    case RegistryBackend::MemoryInCreationOrder:
      return "MemoryInCreationOrder";
    case RegistryBackend::MemoryByName:
      return "MemoryByName";
    case RegistryBackend::System:
      break;
  }
  return "System";
}

RegistryUnderTest::RegistryUnderTest(RegistryBackend backend)
    : backend_(backend),
      registry_(MakeRegistry(backend)),
      base_("Software\\VekhorTest-" + UniqueName()) {
  servers_.root = platform::kHkeyCurrentUser;
  servers_.path = base_ + "\\Horolan\\Servers";
}

std::string RegistryUnderTest::Key(const std::string& relative) {
  extraKeys_.push_back(base_ + "\\" + relative);
  return extraKeys_.back();
}

RegistryUnderTest::~RegistryUnderTest() {
  // Deepest first: a key with subkeys is not deleted.
  std::vector<std::string> doomed(extraKeys_.rbegin(), extraKeys_.rend());
  for (const char* leaf : {".new", ""}) doomed.push_back(servers_.path + leaf);
  doomed.push_back(base_ + "\\Horolan");
  doomed.push_back(base_);
  for (const std::string& path : doomed) registry_->DeleteKey(platform::kHkeyCurrentUser, path);
}

NamedValues ValuesOf(platform::Registry& registry, platform::RegistryKey root,
                     const std::string& path) {
  NamedValues values;
  const OwnedKey key = OwnedKey::Open(registry, root, path, platform::kKeyRead);
  if (!key.IsOpen()) return values;
  std::array<char, 16384> name{};
  for (std::uint32_t index = 0;; ++index) {
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

void WriteValues(platform::Registry& registry, platform::RegistryKey root, const std::string& path,
                 const NamedValues& values) {
  const OwnedKey key = OwnedKey::Create(registry, root, path);
  for (const auto& [name, data] : values) {
    registry.SetValueEx(key.Get(), name, platform::kRegSz, data);
  }
}

bool KeyExists(platform::Registry& registry, platform::RegistryKey root, const std::string& path) {
  return OwnedKey::Open(registry, root, path, platform::kKeyRead).IsOpen();
}

}  // namespace vekhor::fakes
