// What Vekhor.exe leaves on this machine, as the Wine tests read and set it: its settings and
// server list in the registry, its Run values, its log, its tray icon.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vekhor::testing {

inline constexpr const char* kProgramKey = "Software\\VB and VBA Program Settings\\Vektal";
inline constexpr const char* kSettingsKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
inline constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Vektal Horolan";

// A REG_SZ value below HKEY_CURRENT_USER, and any REG_SZ value read back.
void SetValue(const char* key, const char* name, const std::string& value);
std::optional<std::string> ReadValue(HKEY root, const char* key, const char* name);

// The log beside the program, and its whole text.
std::string LogPath();
std::string ReadLog();

// Nothing of the program's left: settings, server list, Run values and log, as before a first
// start.
void ForgetProgram();

// The shell answers a change to an icon it holds and refuses one to an icon it does not.
bool TrayIconPresent(HWND host);

}  // namespace vekhor::testing
