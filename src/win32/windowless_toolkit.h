// The toolkit of close mode: the program's texts and facts as the window's toolkit has them, and
// a main window of plain values. Close mode shows nothing, so it makes no window at all and
// runs where Windows has no desktop to put one on (Wine without a display, a service's session).
#pragma once

#include <windows.h>

#include "toolkit/memory_form.h"
#include "toolkit/toolkit.h"
#include "win32/app_info.h"

namespace vekhor::win32 {

class WindowlessToolkit final : public toolkit::Toolkit {
 public:
  explicit WindowlessToolkit(HINSTANCE instance) : facts_(instance) {}

  toolkit::Form& MainForm() override { return form_; }
  // Nobody is there to answer: every question counts as refused.
  int MsgBox(const std::string& /*prompt*/, int /*style*/) override { return 0; }
  // No window, so no window events; the run's sockets block on their own.
  void DoEvents() override {}
  const TextSource& Texts() const override { return facts_.texts; }
  std::string AppPath() const override { return facts_.path; }
  std::string AppTitle() const override { return toolkit::kApplicationTitle; }
  toolkit::Version AppVersion() const override { return facts_.version; }
  // Close mode runs beside any instance, as its guest: it then writes nothing to the store.
  bool PrevInstance() const override { return InstanceRunning(kInstanceName); }
  std::string Command() const override { return facts_.command; }
  platform::WindowHandle MainWindow() const override { return 0; }

 private:
  ProgramFacts facts_;
  toolkit::MemoryForm<> form_;
};

}  // namespace vekhor::win32
