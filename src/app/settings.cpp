#include "app/settings.h"

#include "log/file_helpers.h"
#include "servers/registry_access.h"
#include "servers/registry_key.h"
#include "servers/registry_value.h"

namespace vekhor::app {
namespace {

void Store(SettingsStore& settings, const char* key, int value) {
  settings.SaveSetting(kSettingsApplication, kSettingsSection, key, std::to_string(value));
}

// The user's Run key can be missing in a fresh profile, and Windows reads it all the same once
// it exists: it is created when needed.
bool WriteUserRunValue(platform::Registry& registry, const std::string& data) {
  std::string subKey = kUserRunKey;
  platform::RegistryKey root = 0;
  SplitKeyPath(subKey, root);
  const OwnedKey key = OwnedKey::Create(registry, root, subKey);
  return key.IsOpen() && registry.SetValueEx(key.Get(), kRunValueName, platform::kRegSz, data) ==
                             platform::kErrorSuccess;
}

bool HasRunValue(platform::Registry& registry, const char* keyPath) {
  std::string subKey = keyPath;
  platform::RegistryKey root = 0;
  SplitKeyPath(subKey, root);
  const OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyRead);
  return key.IsOpen() && ReadStringValue(registry, key.Get(), kRunValueName).has_value();
}

// Whether Windows starts the program at the user's logon.
bool StartsWithWindows(platform::Registry& registry) {
  return HasRunValue(registry, kUserRunKey) || HasRunValue(registry, kMachineRunKey);
}

}  // namespace

int StoredCheckState(const std::string& stored) {
  if (stored == "1") return toolkit::kChecked;
  if (stored == "2") return toolkit::kGrayed;
  return toolkit::kUnchecked;
}

void StoreCheckBox(const toolkit::CheckBox& box, SettingsStore& settings, const char* key) {
  Store(settings, key, box.Value());
}

std::string RunValueData(const std::string& appFolder) {
  return "\"" + appFolder + AddPathSeparator(appFolder, kProgramFileName) + "\"";
}

void AutostartClicked(toolkit::CheckBox& box, SettingsStore& settings, platform::Registry& registry,
                      const std::string& appFolder) {
  const int value = box.Value();
  Store(settings, kAutostartSetting, value);
  if (value != toolkit::kUnchecked && value != toolkit::kChecked) return;
  if (value == toolkit::kChecked) WriteUserRunValue(registry, RunValueData(appFolder));
  if (value == toolkit::kUnchecked) DeleteValue(registry, kUserRunKey, kRunValueName);
  // An earlier version's, which would start the program for every user: gone where the rights
  // allow it, whichever way the box went.
  DeleteValue(registry, kMachineRunKey, kRunValueName);
  const bool starts = StartsWithWindows(registry);
  if (starts != (value == toolkit::kChecked)) {
    // Raises this click again with the box saying the truth, which is stored then: nothing may
    // follow here that would overwrite it.
    box.SetValue(starts ? toolkit::kChecked : toolkit::kUnchecked);
  }
}

void SyncClicked(const toolkit::CheckBox& box, SettingsStore& settings, toolkit::Timer& timer1) {
  const int value = box.Value();
  Store(settings, kIntervalSetting, value);
  timer1.SetEnabled(value != toolkit::kUnchecked);
}

}  // namespace vekhor::app
