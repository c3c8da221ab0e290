// The Settings page: each check box is stored at once in the settings store as its value in
// decimal; the autostart box also keeps the program's Run value, and the hourly box switches
// Timer1.
#pragma once

#include <string>

#include "platform/registry.h"
#include "servers/settings_store.h"
#include "toolkit/toolkit.h"

namespace vekhor::app {

// The settings' keys. A start takes "1" for an absent "InternetConnection" and "0" for the
// others; "SysTray" is absent only before the very first start.
inline constexpr const char* kAutostartSetting = "Autostart";
inline constexpr const char* kInternetConnectionSetting = "InternetConnection";
inline constexpr const char* kLogSetting = "Log";
inline constexpr const char* kSysTraySetting = "SysTray";
inline constexpr const char* kIntervalSetting = "Interval";

// Where Windows looks for programs to start at logon: the user's own key, which the program
// writes, and the machine's, which starts a program for every user and which only earlier
// versions wrote.
inline constexpr const char* kUserRunKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kMachineRunKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Where a 32-bit earlier version's entry went on 64-bit Windows, which redirects its machine keys.
inline constexpr const char* kMachineRunKey32 =
    "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Vektal Horolan";
inline constexpr const char* kProgramFileName = "Vekhor.exe";

// The check-box value a stored setting stands for. Only the exact texts "0", "1" and "2" are
// values a box can take (and the only ones the program writes); anything else, damaged or
// written by hand (" 1", "01", "-1", "yes", ""), counts as 0, so a start never fails on it and
// never leaves a box undefined.
int StoredCheckState(const std::string& stored);

// Stores the box's value under `key` as a decimal text: the whole of the Internet-connection,
// log and tray boxes' click handlers, and what the unload stores once more.
void StoreCheckBox(const toolkit::CheckBox& box, SettingsStore& settings, const char* key);

// The Run value's data: the program's full file name in quotes, so that Windows does not cut a
// folder with blanks at the first blank. The file name is always "Vekhor.exe", whatever name
// the program was started under.
std::string RunValueData(const std::string& appFolder);

// What the status line says after the autostart box's click.
enum class AutostartNote {
  None,
  // Cleared, the box went back: an earlier version's entry under the machine's Run key still
  // starts the program for every user, and only an administrator may remove it.
  EarlierEntryStays,
};

// The autostart box's click: adds or removes the Run value under the user's key (created if
// missing), clearing Task Manager's "disabled" on a check, and removes one an earlier version
// left under the machine's where the rights allow it. The box then says whether the program
// starts with Windows (going back without a click where it does not follow), and that is stored.
// A grayed box is stored and changes nothing more.
AutostartNote AutostartClicked(toolkit::CheckBox& box, SettingsStore& settings,
                               platform::Registry& registry, const std::string& appFolder);

// The start's setting of the box, which starts clear: it shows whether the program starts with
// Windows. Where the user checked it (a stored "1") it raises the click, which writes the value
// again, so that it follows a moved program and takes over an earlier version's, unless Task
// Manager disabled the user's entry, which stays so. Otherwise nothing is written: an earlier
// version's entry checks the box without a click.
void LoadAutostart(toolkit::CheckBox& box, int stored, platform::Registry& registry);

// The hourly box's click: stores its value; the hourly timer runs while the box is not clear.
void SyncClicked(const toolkit::CheckBox& box, SettingsStore& settings, toolkit::Timer& timer1);

}  // namespace vekhor::app
