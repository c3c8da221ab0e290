#include "fakes/registry_backends.h"

#include <array>
#include <atomic>
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
  if (backend == RegistryBackend::System) return platform::MakeSystemRegistry();
  return std::make_unique<platform::MemoryRegistry>(backend == RegistryBackend::MemoryByName
                                                        ? platform::EnumerationOrder::ByName
                                                        : platform::EnumerationOrder::Creation);
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
  static const char* const kNames[] = {"MemoryInCreationOrder", "MemoryByName", "System"};
  return kNames[static_cast<int>(backend)];
}

RegistryUnderTest::RegistryUnderTest(RegistryBackend backend)
    : registry_(MakeRegistry(backend)) {
  if (backend != RegistryBackend::System) return;
  base_ = "Software\\VekhorTest-" + UniqueName();
  servers_.path = base_ + "\\Horolan\\Servers";
}

RegistryUnderTest::~RegistryUnderTest() {
  if (base_.empty()) return;
  // Deepest first: a key with subkeys is not deleted.
  for (const std::string& path :
       {servers_.path + ".new", servers_.path, base_ + "\\Horolan", base_}) {
    registry_->DeleteKey(platform::kHkeyCurrentUser, path);
  }
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
