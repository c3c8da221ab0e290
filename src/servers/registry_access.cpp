// The full-path registry layer.
#include "servers/registry_access.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "servers/registry_key.h"

namespace vekhor {
namespace {

constexpr std::array<std::pair<std::string_view, platform::RegistryKey>, 7> kRoots{{
    {"HKEY_CLASSES_ROOT", platform::kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", platform::kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", platform::kHkeyLocalMachine},
    {"HKEY_USERS", platform::kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", platform::kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", platform::kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", platform::kHkeyDynData},
}};

// The key named by a full path, opened for writing; nothing when the path names no root.
std::optional<OwnedKey> OpenForWriting(platform::Registry& registry, const std::string& keyPath) {
  std::string subKey = keyPath;
  platform::RegistryKey root = 0;
  SplitKeyPath(subKey, root);
  if (root == 0) return std::nullopt;
  OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyWrite);
  if (!key.IsOpen()) return std::nullopt;
  return key;
}

}  // namespace

platform::RegistryKey GetRootKey(const std::string& rootName) {
  for (const auto& [name, key] : kRoots) {
    if (rootName == name) return key;
  }
  return 0;
}

void SplitKeyPath(std::string& path, platform::RegistryKey& root) {
  if (path.empty() || path.back() == '\\' || path.compare(0, 5, "HKEY_") != 0) return;
  const std::size_t backslash = path.find('\\');
  if (backslash == std::string::npos) {
    root = GetRootKey(path);
    path.clear();
    return;
  }
  root = GetRootKey(path.substr(0, backslash));
  path = path.substr(backslash + 1);
}

bool SetStringValue(platform::Registry& registry, const std::string& keyPath,
                    const std::string& valueName, const std::string& valueData) {
  const auto key = OpenForWriting(registry, keyPath);
  return key && registry.SetValueEx(key->Get(), valueName, platform::kRegSz, valueData) ==
                    platform::kErrorSuccess;
}

bool DeleteValue(platform::Registry& registry, const std::string& keyPath,
                 const std::string& valueName) {
  const auto key = OpenForWriting(registry, keyPath);
  return key && registry.DeleteValue(key->Get(), valueName) == platform::kErrorSuccess;
}

}  // namespace vekhor
