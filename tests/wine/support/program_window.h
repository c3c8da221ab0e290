// Vekhor.exe run for a test and its window seen as a user's tools see it: found by class and
// process, its controls by their identifiers, their state through their own messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "app/layout.h"

namespace vekhor::testing {

class ProgramWindow {
 public:
  // Starts the program with `arguments` and waits until it is idle with its window made (and
  // shown, unless a start in the tray keeps it hidden).
  enum class Start { Shown, Hidden };
  explicit ProgramWindow(const std::string& arguments = "", Start start = Start::Shown);
  // Closes the window and waits for the process; kills it if it hangs.
  ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  bool Found() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_.hProcess; }
  HWND Control(app::ControlId id) const;
  std::string Text(app::ControlId id) const;
  bool Shown(app::ControlId id) const;
  SIZE ClientSize() const;
  // Presses Exit and returns the program's exit status (or STILL_ACTIVE after 20 s).
  DWORD Close();

  // The page button's click, as a user's tools send it.
  void ClickPage(int index) const;
  // The window whose control has the keyboard focus in the program's thread.
  HWND Focused() const;

  // The server list as a user's tools read it: entries, their texts and check marks.
  int ListCount() const;
  std::string ListText(int index) const;
  bool ListChecked(int index) const;

  // A top-level window of the program's of the given class ("#32770" a message box, "#32768"
  // a pop-up menu), waiting up to 10 s for it to appear; null when none does.
  HWND WaitForWindowOfClass(const wchar_t* className) const;

  // What the program holds of the window system's objects: GetGuiResources where Windows counts
  // them, else the live entries of its GDI handle table (Wine's GetGuiResources counts nothing).
  std::size_t GuiObjects() const;

  // The window as it is on screen, as a 24-bit BMP file.
  bool SaveScreenshot(const std::string& path) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  bool closed_ = false;
};

}  // namespace vekhor::testing
