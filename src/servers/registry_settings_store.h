// The settings store in the registry, where earlier versions of the program keep it: REG_SZ
// values under HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
#pragma once

#include <string>

#include "platform/registry.h"
#include "servers/settings_store.h"

namespace vekhor {

class RegistrySettingsStore final : public SettingsStore {
 public:
  explicit RegistrySettingsStore(platform::Registry& registry) : registry_(registry) {}

  std::string GetSetting(const std::string& application, const std::string& section,
                         const std::string& key, const std::string& defaultValue) override;
  bool SaveSetting(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) override;

  // The key below HKEY_CURRENT_USER that holds a section's values.
  static std::string SectionPath(const std::string& application, const std::string& section);

 private:
  platform::Registry& registry_;
};

}  // namespace vekhor
