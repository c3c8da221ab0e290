// What Windows starts at the user's logon: the program's entries under the Run keys, and Task
// Manager's records that disable them.
#pragma once

#include "platform/registry.h"

namespace vekhor::app {

// Task Manager's record of an entry of the Run key beside it: a REG_BINARY value named as the
// entry, whose first byte is even while the entry is enabled and odd once it was disabled; no
// record means enabled.
inline constexpr const char* kUserStartupApprovedKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\"
    "Run";
inline constexpr const char* kMachineStartupApprovedKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\"
    "Run";
inline constexpr const char* kMachineStartupApprovedKey32 =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\"
    "Run32";

// The program's entry under one Run key. A disabled one starts nothing.
enum class RunEntry { Absent, Enabled, Disabled };

struct LogonEntries {
  RunEntry user = RunEntry::Absent;     // the user's own Run key, which the program writes
  RunEntry machine = RunEntry::Absent;  // the machine's, which only earlier versions wrote, in
                                        // either view of it
  bool StartsTheProgram() const {
    return user == RunEntry::Enabled || machine == RunEntry::Enabled;
  }
};

LogonEntries ReadLogonEntries(platform::Registry& registry);

// Removes Task Manager's record of the user's entry, so that the entry starts the program again.
void ForgetUserStartupRecord(platform::Registry& registry);

}  // namespace vekhor::app
