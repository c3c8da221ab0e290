// The main window as Win32 makes it: one top-level window of a registered class holding every
// control of the layout table as a standard child window, laid out at the window's DPI.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "toolkit/toolkit.h"
#include "win32/window_context.h"

namespace vekhor::platform::window {

class Placed;
class PageFrame;

class MainForm final : public app::Form {
 public:
  explicit MainForm(HINSTANCE instance);
  ~MainForm() override;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  bool Created() const { return context_.main != nullptr; }
  // Hands a pointer message for one of the window's controls to the tool tips, which show a
  // control's tip when the pointer rests on it.
  void RelayToToolTips(MSG& message);

  void SetCaption(const std::string& title) override;
  std::string Caption() const override { return WindowTextA(context_.main); }
  void SetVisible(bool visible) override;
  bool Visible() const override;
  int WindowState() const override;
  void Unload() override { RequestUnload(app::kUnloadFromCode); }
  platform::WindowHandle Handle() const override {
    return reinterpret_cast<platform::WindowHandle>(context_.main);
  }

  app::Label& label(app::ControlId id) override;
  app::Button& button(app::ControlId id) override;
  app::CheckBox& checkBox(app::ControlId id) override;
  app::OptionButton& optionButton(app::ControlId id) override;
  app::Frame& frame(app::ControlId id) override;
  app::TextField& textField(app::ControlId id) override;
  app::CheckedList& checkedList(app::ControlId id) override;
  app::PictureBox& pictureBox(app::ControlId id) override;
  app::TrayHost& trayHost(app::ControlId id) override;
  app::Timer& timer(app::ControlId id) override;
  app::PopupMenu& popupMenu(app::ControlId id) override;
  app::MenuEntry& menuEntry(app::ControlId id) override;

  static constexpr const wchar_t* kClassName = L"VekhorMainWindow";

 private:
  // Every object the window owns, whatever its kind.
  struct Owned {
    virtual ~Owned() = default;
  };
  template <class T>
  struct Holder final : Owned {
    template <class... Args>
    explicit Holder(Args&&... args) : object(std::forward<Args>(args)...) {}
    T object;
  };

  // What the window knows of each control of the layout table.
  struct Slot {
    app::Control* control = nullptr;
    Placed* placed = nullptr;
    app::Timer* timer = nullptr;
    app::PopupMenu* menu = nullptr;
    app::MenuEntry* entry = nullptr;
  };

  template <class T>
  T& Get(app::ControlId id);
  template <class T, class... Args>
  T& Add(const app::ControlLayout& layout, Args&&... args);
  Slot* SlotOfIdentifier(int identifier);

  void CreateControls();
  void CreateControl(const app::ControlLayout& layout);
  HWND CreateChild(const app::ControlLayout& layout, const app::TwipsRect& rect, bool shown,
                   const PageFrame* page);
  void SizeWindowForDpi(const RECT* suggested);
  void LayOut();
  bool RequestUnload(int mode);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  // The brush for a control of the table, or 0 for another window.
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnDpiChanged(int dpi, const RECT* suggested);

  WindowContext context_;
  std::vector<std::unique_ptr<Owned>> owned_;
  std::array<Slot, app::kControlCount> slots_{};
  bool controlsMade_ = false;
  bool unloaded_ = false;
  bool quitWhenDestroyed_ = true;
  UINT taskbarCreated_ = 0;
};

}  // namespace vekhor::platform::window
