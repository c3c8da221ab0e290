// Per-user string settings addressed by application, section and key (REG_SZ values under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>).
#pragma once

#include <string>

namespace vekhor {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or `defaultValue` when it is absent or unreadable.
  virtual std::string GetSetting(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& defaultValue) = 0;
  // Creates missing keys; returns false when the value could not be stored.
  virtual bool SaveSetting(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
};

inline constexpr const char* kSettingsApplication = "Vektal";
inline constexpr const char* kSettingsSection = "Horolan";

}  // namespace vekhor
