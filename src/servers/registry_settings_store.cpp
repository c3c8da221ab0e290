// Settings as registry values, one key per application and section.
#include "servers/registry_settings_store.h"

#include "servers/registry_key.h"
#include "servers/registry_value.h"

namespace vekhor {

std::string RegistrySettingsStore::SectionPath(const std::string& application,
                                               const std::string& section) {
  return "Software\\VB and VBA Program Settings\\" + application + "\\" + section;
}

std::string RegistrySettingsStore::GetSetting(const std::string& application,
                                              const std::string& section, const std::string& key,
                                              const std::string& defaultValue) {
  if (application.empty() || section.empty() || key.empty()) return defaultValue;
  const OwnedKey opened = OwnedKey::Open(registry_, platform::kHkeyCurrentUser,
                                         SectionPath(application, section), platform::kKeyRead);
  if (!opened.IsOpen()) return defaultValue;
  return ReadStringValue(registry_, opened.Get(), key).value_or(defaultValue);
}

bool RegistrySettingsStore::SaveSetting(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& value) {
  // An empty name would land in a parent key or in the key's default value.
  if (application.empty() || section.empty() || key.empty()) return false;
  const OwnedKey created =
      OwnedKey::Create(registry_, platform::kHkeyCurrentUser, SectionPath(application, section));
  return created.IsOpen() && registry_.SetValueEx(created.Get(), key, platform::kRegSz, value) ==
                                 platform::kErrorSuccess;
}

}  // namespace vekhor
