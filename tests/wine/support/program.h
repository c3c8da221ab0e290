// Vekhor.exe run for a test and driven from outside as a user's tools would, and what it leaves
// on this machine: settings, server list and Run values in the registry, and its log.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/layout.h"

namespace vekhor::testing {

inline constexpr const char* kProgramKey = "Software\\VB and VBA Program Settings\\Vektal";
inline constexpr const char* kSettingsKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
inline constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Vektal Horolan";

void SetValue(HKEY root, const char* key, const char* name, const std::string& value);
std::optional<std::string> ReadValue(HKEY root, const char* key, const char* name);
// Nothing of the program's left: settings, server list, Run values and log.
void ForgetProgram();
// Logging on, no tray icon, and these servers, all checked, in this order.
void PrepareRun(const std::vector<std::string>& servers);
std::string ReadFile(const std::string& path);
// Fails the test unless the log holds each of `present` and none of `absent`.
void ExpectLog(const std::vector<std::string>& present, const std::vector<std::string>& absent);
// Asks `done` every 50 ms for up to 10 s; whether it came true.
bool WaitUntil(const std::function<bool()>& done);
std::wstring Wide(std::string_view utf8);
// A process of `commandLine`, null when none started; its exit status once it has ended, or
// STILL_ACTIVE after a minute.
PROCESS_INFORMATION StartProcess(std::string commandLine);
DWORD WaitForExit(HANDLE process);

class ProgramWindow {
 public:
  // Shown and Hidden wait until the program is idle with its window made; Unwatched does not.
  enum class Start { Shown, Hidden, Unwatched };
  explicit ProgramWindow(const std::string& arguments = "", Start start = Start::Shown);
  ~ProgramWindow();  // closes the program, or kills it if it hangs
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  bool Found() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_.hProcess; }
  HWND Control(app::ControlId id) const {
    return ::GetDlgItem(window_, app::kFirstControlId + static_cast<int>(id));
  }
  bool Shown(app::ControlId id) const { return ::IsWindowVisible(Control(id)) != FALSE; }
  void Click(app::ControlId id) const { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
  std::string Text(app::ControlId id) const;
  DWORD Close();  // presses Exit, then WaitForExit()
  DWORD WaitForExit() const { return testing::WaitForExit(process_.hProcess); }

  // The server list's entries and their check marks.
  std::vector<std::pair<std::string, bool>> ServerList() const;

  // A shown top-level window of the program's ("#32770" a message box), after up to 10 s.
  HWND WaitForWindowOfClass(const wchar_t* className) const;
  // Right-clicks the tray icon and picks from its menu with `key` and Return; false when there
  // is no icon or no menu.
  bool PickFromTrayMenu(WPARAM key) const;
  // The program's live GDI objects (Wine's GetGuiResources counts none).
  std::size_t GuiObjects() const;
  // The window as on screen, to VEKHOR_SCREENSHOT_FOLDER as a BMP; true when none is wanted.
  bool SaveScreenshot(const std::string& name) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace vekhor::testing
