// The toolkit with no window: message boxes recorded, DoEvents runs only what a test posted.
#pragma once

#include <array>
#include <deque>
#include <variant>

#include "app/toolkit.h"
#include "fakes/headless_controls.h"
#include "res/catalogue.h"

namespace vekhor::fakes {

class HeadlessForm final : public Captioned<app::Form> {
 public:
  HeadlessForm();

  bool visible = false;
  int windowState = app::kWindowNormal;
  platform::WindowHandle handle = 0x1234;
  bool unloaded = false;

  void SetVisible(bool show) override { visible = show; }
  bool Visible() const override { return visible; }
  int WindowState() const override { return windowState; }
  void Unload() override { Close(1); }  // 1: the unload mode of an unload from code
  platform::WindowHandle Handle() const override { return handle; }

  HeadlessLabel& label(app::ControlId id) override { return Get<HeadlessLabel>(id); }
  HeadlessButton& button(app::ControlId id) override { return Get<HeadlessButton>(id); }
  HeadlessCheckBox& checkBox(app::ControlId id) override { return Get<HeadlessCheckBox>(id); }
  HeadlessOptionButton& optionButton(app::ControlId id) override {
    return Get<HeadlessOptionButton>(id);
  }
  HeadlessFrame& frame(app::ControlId id) override { return Get<HeadlessFrame>(id); }
  HeadlessTextField& textField(app::ControlId id) override { return Get<HeadlessTextField>(id); }
  HeadlessCheckedList& checkedList(app::ControlId id) override {
    return Get<HeadlessCheckedList>(id);
  }
  HeadlessPictureBox& pictureBox(app::ControlId id) override { return Get<HeadlessPictureBox>(id); }
  HeadlessTrayHost& trayHost(app::ControlId id) override { return Get<HeadlessTrayHost>(id); }
  HeadlessTimer& timer(app::ControlId id) override { return Get<HeadlessTimer>(id); }
  HeadlessPopupMenu& popupMenu(app::ControlId id) override { return Get<HeadlessPopupMenu>(id); }
  HeadlessMenuEntry& menuEntry(app::ControlId id) override { return Get<HeadlessMenuEntry>(id); }

  // What the user or the system does to the window itself.
  void Activate() { Raise(onActivate); }
  void Resize() { Raise(onResize); }
  void MoveMouse(float x = 0, float y = 0) { Raise(onMouseMove, 0, 0, x, y); }
  // Asks to close with `mode` (0 from the window's close box); false when a handler refused.
  bool Close(int mode);

 private:
  // The alternatives in the order of app::ControlKind, the window itself first.
  using Object = std::variant<std::monostate, HeadlessOptionButton, HeadlessFrame, HeadlessButton,
                              HeadlessLabel, HeadlessCheckBox, HeadlessTextField,
                              HeadlessCheckedList, HeadlessPictureBox, HeadlessTrayHost,
                              HeadlessTimer, HeadlessPopupMenu, HeadlessMenuEntry>;

  template <class Kind>
  Kind& Get(app::ControlId id) {
    if (Kind* found = std::get_if<Kind>(&objects_[static_cast<std::size_t>(id)])) return *found;
    throw std::logic_error(std::string(app::LayoutOf(id).name) + " asked for as another kind");
  }

  std::array<Object, app::kControlCount> objects_;
};

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

  // Events for the next DoEvents, oldest first; one posted meanwhile runs in the same call.
  std::deque<app::Event> pending;

  std::string appPath = "C:\\Program Files\\Vektal";

  HeadlessForm& MainForm() override { return form; }
  int MsgBox(const std::string& prompt, int style) override {
    boxes.push_back({prompt, style});
    return answer;
  }
  // Each event leaves the queue before it runs, so a nested DoEvents does not run it again.
  void DoEvents() override {
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
  bool PrevInstance() const override { return false; }
  std::string Command() const override { return ""; }
  platform::WindowHandle MainWindow() const override { return form.handle; }

 private:
  CatalogueTexts texts_;
};

}  // namespace vekhor::fakes
