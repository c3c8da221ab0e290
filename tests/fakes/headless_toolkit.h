// The toolkit with no window: message boxes recorded, DoEvents runs only what a test posted.
#pragma once

#include <deque>
#include <vector>

#include "fakes/headless_controls.h"
#include "res/catalogue.h"
#include "toolkit/toolkit.h"

namespace vekhor::fakes {

// What the user or the system does to the window itself.
class HeadlessForm final : public toolkit::MemoryForm<HeadlessControls> {
 public:
  void Activate() { Raise(onActivate); }
  void Resume() { Raise(onResume); }
  void Resize() { Raise(onResize); }
  void MoveMouse(float x = 0, float y = 0) { Raise(onMouseMove, 0, 0, x, y); }
};

class HeadlessToolkit final : public toolkit::Toolkit {
 public:
  explicit HeadlessToolkit(Language language = Language::English) : texts_(language) {}

  HeadlessForm form;
  platform::WindowHandle& window = form.handle;  // the main window is the form

  struct Box {
    std::string prompt;
    int style;
  };
  std::vector<Box> boxes;
  int answer = toolkit::kMsgBoxAnswerYes;

  // Events for the next DoEvents, oldest first; one posted meanwhile runs in the same call.
  std::deque<toolkit::Event> pending;

  std::string appPath = "C:\\Program Files\\Vektal";

  HeadlessForm& MainForm() override { return form; }
  int MsgBox(const std::string& prompt, int style) override {
    boxes.push_back({prompt, style});
    return answer;
  }
  // Each event leaves the queue before it runs, so a nested DoEvents does not run it again.
  void DoEvents() override {
    while (!pending.empty()) {
      const toolkit::Event event = std::move(pending.front());
      pending.pop_front();
      if (event) event();
    }
  }
  const TextSource& Texts() const override { return texts_; }
  std::string AppPath() const override { return appPath; }
  std::string AppTitle() const override { return toolkit::kApplicationTitle; }
  toolkit::Version AppVersion() const override { return {1, 0, 33}; }
  bool prevInstance = false;
  std::string command;

  bool PrevInstance() const override { return prevInstance; }
  std::string Command() const override { return command; }
  platform::WindowHandle MainWindow() const override { return form.handle; }

 private:
  CatalogueTexts texts_;
};

}  // namespace vekhor::fakes
