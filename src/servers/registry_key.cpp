// The owner of one open registry key.
#include "servers/registry_key.h"

namespace vekhor {

OwnedKey OwnedKey::Open(platform::Registry& registry, platform::RegistryKey root,
                        const std::string& subKey, std::uint32_t rights) {
  platform::RegistryKey key = 0;
  const std::int32_t status = registry.OpenKeyEx(root, subKey, 0, rights, key);
  return OwnedKey(registry, status, key);
}

OwnedKey OwnedKey::Create(platform::Registry& registry, platform::RegistryKey root,
                          const std::string& subKey) {
  platform::RegistryKey key = 0;
  const std::int32_t status = registry.CreateKey(root, subKey, key);
  return OwnedKey(registry, status, key);
}

OwnedKey::OwnedKey(OwnedKey&& other) noexcept
    : registry_(other.registry_), status_(other.status_), key_(other.key_) {
  other.status_ = platform::kErrorInvalidHandle;
}

OwnedKey::~OwnedKey() {
  if (IsOpen()) registry_->CloseKey(key_);
}

}  // namespace vekhor
