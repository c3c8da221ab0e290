// The window toolkit with no window: the main form and its controls are plain objects, message
// boxes are recorded and answered from a field, and DoEvents runs only what a test posted.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "app/toolkit.h"
#include "fakes/headless_form.h"
#include "res/catalogue.h"

namespace vekhor::fakes {

class HeadlessToolkit final : public app::Toolkit {
 public:
  explicit HeadlessToolkit(Language language = Language::English) : texts_(language) {}

  HeadlessForm form;
  platform::WindowHandle& window = form.handle;  // the main window is the form

  struct Box {
    std::string prompt;
    int style;
  };
  std::vector<Box> boxes;
  int answer = app::kMsgBoxAnswerYes;

  // Window events waiting for the next DoEvents, oldest first. One posted while DoEvents runs
  // runs in the same call, as a message posted during a message pump does.
  std::deque<app::Event> pending;
  int doEventsCalls = 0;

  std::string appPath = "C:\\Program Files\\Vektal";
  bool prevInstance = false;

  HeadlessForm& MainForm() override { return form; }
  int MsgBox(const std::string& prompt, int style) override {
    boxes.push_back({prompt, style});
    return answer;
  }
  // Each event leaves the queue before it runs, so a handler that calls DoEvents itself carries
  // on with the events after it instead of running it again.
  void DoEvents() override {
    ++doEventsCalls;
    while (!pending.empty()) {
      const app::Event event = std::move(pending.front());
      pending.pop_front();
      if (event) event();
    }
  }
  const TextSource& Texts() const override { return texts_; }
  std::string AppPath() const override { return appPath; }
  std::string AppTitle() const override { return app::kApplicationTitle; }
  app::Version AppVersion() const override { return {1, 0, 33}; }
  bool PrevInstance() const override { return prevInstance; }
  std::string Command() const override { return ""; }
  platform::WindowHandle MainWindow() const override { return form.handle; }

 private:
  CatalogueTexts texts_;
};

}  // namespace vekhor::fakes
