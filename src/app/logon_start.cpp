// The Run keys' entries and Task Manager's records of them, read as Windows reads them at logon.
#include "app/logon_start.h"

#include <optional>
#include <string>

#include "app/settings.h"
#include "servers/registry_access.h"
#include "servers/registry_key.h"
#include "servers/registry_value.h"

namespace vekhor::app {
namespace {

std::optional<std::string> ReadNamedValue(platform::Registry& registry, const char* keyPath) {
  std::string subKey = keyPath;
  platform::RegistryKey root = 0;
  SplitKeyPath(subKey, root);
  const OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyRead);
  if (!key.IsOpen()) return std::nullopt;
  return ReadStringValue(registry, key.Get(), kRunValueName);
}

RunEntry ReadRunEntry(platform::Registry& registry, const char* runKey, const char* recordKey) {
  if (!ReadNamedValue(registry, runKey)) return RunEntry::Absent;
  const std::optional<std::string> record = ReadNamedValue(registry, recordKey);
  const bool disabled =
      record && !record->empty() && (static_cast<unsigned char>(record->front()) & 1U) != 0;
  return disabled ? RunEntry::Disabled : RunEntry::Enabled;
}

}  // namespace

LogonEntries ReadLogonEntries(platform::Registry& registry) {
  const RunEntry machine = ReadRunEntry(registry, kMachineRunKey, kMachineStartupApprovedKey);
  const RunEntry machine32 = ReadRunEntry(registry, kMachineRunKey32, kMachineStartupApprovedKey32);
  // Either view's enabled entry starts the program.
  const RunEntry either = machine == RunEntry::Enabled || machine32 == RunEntry::Enabled
                              ? RunEntry::Enabled
                          : machine != RunEntry::Absent ? machine
                                                        : machine32;
  return {ReadRunEntry(registry, kUserRunKey, kUserStartupApprovedKey), either};
}

void ForgetUserStartupRecord(platform::Registry& registry) {
  DeleteValue(registry, kUserStartupApprovedKey, kRunValueName);
}

}  // namespace vekhor::app
