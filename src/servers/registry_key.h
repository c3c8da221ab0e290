// An open registry key that is closed when its owner goes out of scope, on every path.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace vekhor {

class OwnedKey {
 public:
  // RegOpenKeyExA with options 0.
  static OwnedKey Open(platform::Registry& registry, platform::RegistryKey root,
                       const std::string& subKey, std::uint32_t rights);
  // RegCreateKeyA.
  static OwnedKey Create(platform::Registry& registry, platform::RegistryKey root,
                         const std::string& subKey);

  OwnedKey(OwnedKey&& other) noexcept;
  OwnedKey(const OwnedKey&) = delete;
  OwnedKey& operator=(const OwnedKey&) = delete;
  OwnedKey& operator=(OwnedKey&&) = delete;
  ~OwnedKey();

  bool IsOpen() const { return status_ == platform::kErrorSuccess; }
  // The result of the open or create.
  std::int32_t Status() const { return status_; }
  platform::RegistryKey Get() const { return key_; }

 private:
  OwnedKey(platform::Registry& registry, std::int32_t status, platform::RegistryKey key)
      : registry_(&registry), status_(status), key_(key) {}

  platform::Registry* registry_;
  std::int32_t status_;
  platform::RegistryKey key_;
};

}  // namespace vekhor
