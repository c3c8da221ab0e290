#include "app/settings.h"

#include "log/file_helpers.h"
#include "servers/registry_access.h"
#include "servers/registry_key.h"

namespace vekhor::app {
namespace {

void Store(SettingsStore& settings, const char* key, int value) {
  settings.SaveSetting(kSettingsApplication, kSettingsSection, key, std::to_string(value));
}

// The user's Run key can be missing in a fresh profile, and Windows reads it all the same once
// it exists: unlike the machine's key it is created when needed.
bool WriteUserRunValue(platform::Registry& registry, const std::string& data) {
  std::string subKey = kUserRunKey;
  platform::RegistryKey root = 0;
  SplitKeyPath(subKey, root);
  const OwnedKey key = OwnedKey::Create(registry, root, subKey);
  return key.IsOpen() && registry.SetValueEx(key.Get(), kRunValueName, platform::kRegSz, data) ==
                             platform::kErrorSuccess;
}

bool WriteRunValue(platform::Registry& registry, const std::string& data) {
  if (SetStringValue(registry, kMachineRunKey, kRunValueName, data)) {
    DeleteValue(registry, kUserRunKey, kRunValueName);
    return true;
  }
  return WriteUserRunValue(registry, data);
}

void RemoveRunValues(platform::Registry& registry) {
  DeleteValue(registry, kMachineRunKey, kRunValueName);
  DeleteValue(registry, kUserRunKey, kRunValueName);
}

}  // namespace

int StoredCheckState(const std::string& stored) {
  if (stored == "1") return kChecked;
  if (stored == "2") return kGrayed;
  return kUnchecked;
}

void StoreCheckBox(const CheckBox& box, SettingsStore& settings, const char* key) {
  Store(settings, key, box.Value());
}

std::string RunValueData(const std::string& appFolder) {
  return "\"" + appFolder + AddPathSeparator(appFolder, kProgramFileName) + "\"";
}

void AutostartClicked(CheckBox& box, SettingsStore& settings, platform::Registry& registry,
                      const std::string& appFolder) {
  const int value = box.Value();
  Store(settings, kAutostartSetting, value);
  if (value == kUnchecked) {
    RemoveRunValues(registry);
  } else if (value == kChecked && !WriteRunValue(registry, RunValueData(appFolder))) {
    // Raises this click again with the box clear, which stores "0": nothing may follow here
    // that would overwrite it.
    box.SetValue(kUnchecked);
  }
}

void SyncClicked(const CheckBox& box, SettingsStore& settings, Timer& timer1) {
  const int value = box.Value();
  Store(settings, kIntervalSetting, value);
  timer1.SetEnabled(value != kUnchecked);
}

}  // namespace vekhor::app
