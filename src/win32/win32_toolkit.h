// The window toolkit of Vekhor.exe: the real main window, message boxes, the message loop and
// what the program knows of itself.
#pragma once

#include <windows.h>

#include "toolkit/toolkit.h"
#include "win32/app_info.h"
#include "win32/main_form.h"

namespace vekhor::win32 {

class Win32Toolkit final : public toolkit::Toolkit {
 public:
  explicit Win32Toolkit(HINSTANCE instance);

  // False without a desktop to put the window on (no display under Wine).
  bool WindowCreated() const { return form_.Created(); }
  // Runs until the main window is gone; the exit status it was posted with.
  int RunMessageLoop();

  toolkit::Form& MainForm() override { return form_; }
  int MsgBox(const std::string& prompt, int style) override;
  void DoEvents() override;
  const TextSource& Texts() const override { return facts_.texts; }
  std::string AppPath() const override { return facts_.path; }
  std::string AppTitle() const override { return toolkit::kApplicationTitle; }
  toolkit::Version AppVersion() const override { return facts_.version; }
  bool PrevInstance() const override { return instance_.AnotherWasRunning(); }
  std::string Command() const override { return facts_.command; }
  platform::WindowHandle MainWindow() const override { return form_.Handle(); }

 private:
  void Dispatch(MSG& message);

  InstanceMarker instance_;
  ProgramFacts facts_;
  win32::MainForm form_;  // qualified: MainForm() above names the member function
};

}  // namespace vekhor::win32
