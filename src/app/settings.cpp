#include "app/settings.h"

#include <utility>

#include "app/logon_start.h"
#include "log/file_helpers.h"
#include "servers/registry_access.h"
#include "servers/registry_key.h"

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
  return key.IsOpen() &&
         registry.SetUtf8StringValue(key.Get(), kRunValueName, data) == platform::kErrorSuccess;
}

// The box only reports how things stand: a click raised here would act as the user's own, and
// write a Run value nobody asked for.
void ShowWithoutClick(toolkit::CheckBox& box, int value) {
  // The click running now may be this box's own: it is moved aside, not destroyed, and put back.
  toolkit::Event click = std::exchange(box.onClick, nullptr);
  box.SetValue(value);
  box.onClick = std::move(click);
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

AutostartNote AutostartClicked(toolkit::CheckBox& box, SettingsStore& settings,
                               platform::Registry& registry, const std::string& appFolder) {
  const int value = box.Value();
  if (value != toolkit::kUnchecked && value != toolkit::kChecked) {
    Store(settings, kAutostartSetting, value);
    return AutostartNote::None;
  }
  if (value == toolkit::kChecked) {
    WriteUserRunValue(registry, RunValueData(appFolder));
    // Disabled in Task Manager, the value would start nothing.
    ForgetUserStartupRecord(registry);
  } else {
    DeleteValue(registry, kUserRunKey, kRunValueName);
  }
  // An earlier version's, which would start the program for every user: gone where the rights
  // allow it, whichever way the box went.
  DeleteValue(registry, kMachineRunKey, kRunValueName);
  DeleteValue(registry, kMachineRunKey32, kRunValueName);
  const LogonEntries entries = ReadLogonEntries(registry);
  const int shown = entries.StartsTheProgram() ? toolkit::kChecked : toolkit::kUnchecked;
  if (shown != value) ShowWithoutClick(box, shown);
  Store(settings, kAutostartSetting, shown);
  const bool earlierEntryStays = value == toolkit::kUnchecked && shown == toolkit::kChecked &&
                                 entries.machine == RunEntry::Enabled;
  return earlierEntryStays ? AutostartNote::EarlierEntryStays : AutostartNote::None;
}

void LoadAutostart(toolkit::CheckBox& box, int stored, platform::Registry& registry) {
  const LogonEntries entries = ReadLogonEntries(registry);
  if (stored == toolkit::kChecked && entries.user != RunEntry::Disabled) {
    box.SetValue(toolkit::kChecked);
    return;
  }
  ShowWithoutClick(box, entries.StartsTheProgram() ? toolkit::kChecked : toolkit::kUnchecked);
}

void SyncClicked(const toolkit::CheckBox& box, SettingsStore& settings, toolkit::Timer& timer1) {
  const int value = box.Value();
  Store(settings, kIntervalSetting, value);
  timer1.SetEnabled(value != toolkit::kUnchecked);
}

}  // namespace vekhor::app
