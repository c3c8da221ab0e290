// The window toolkit with no window: the main form and its controls are plain objects, message
// boxes are recorded and answered from a field, and DoEvents runs only what a test posted.
#pragma once

#include <deque>
#include <string>
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

  std::string title = app::kApplicationTitle;
  std::string appPath = "C:\\Program Files\\Vektal";
  app::Version version{1, 0, 33};
  bool prevInstance = false;
  std::string command;

  HeadlessForm& MainForm() override { return form; }
  int MsgBox(const std::string& prompt, int style) override {
    boxes.push_back({prompt, style});
    return answer;
  }
  void DoEvents() override;
  const TextSource& Texts() const override { return texts_; }
  std::string AppPath() const override { return appPath; }
  std::string AppTitle() const override { return title; }
  app::Version AppVersion() const override { return version; }
  bool PrevInstance() const override { return prevInstance; }
  std::string Command() const override { return command; }
  platform::WindowHandle MainWindow() const override { return form.handle; }

 private:
  CatalogueTexts texts_;
};

}  // namespace vekhor::fakes
