// The main window as Win32 makes it: one top-level window of a registered class holding every
// control of the layout table as a standard child window, laid out at the window's DPI.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "toolkit/toolkit.h"
#include "win32/window_context.h"

namespace vekhor::win32 {

class Placed;
class PageFrame;

class MainForm final : public toolkit::Form {
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
  void Unload() override { RequestUnload(toolkit::kUnloadFromCode); }
  platform::WindowHandle Handle() const override {
    return reinterpret_cast<platform::WindowHandle>(context_.main);
  }

  toolkit::Label& label(toolkit::ControlId id) override;
  toolkit::Button& button(toolkit::ControlId id) override;
  toolkit::CheckBox& checkBox(toolkit::ControlId id) override;
  toolkit::OptionButton& optionButton(toolkit::ControlId id) override;
  toolkit::Frame& frame(toolkit::ControlId id) override;
  toolkit::TextField& textField(toolkit::ControlId id) override;
  toolkit::CheckedList& checkedList(toolkit::ControlId id) override;
  toolkit::PictureBox& pictureBox(toolkit::ControlId id) override;
  toolkit::TrayHost& trayHost(toolkit::ControlId id) override;
  toolkit::Timer& timer(toolkit::ControlId id) override;
  toolkit::PopupMenu& popupMenu(toolkit::ControlId id) override;
  toolkit::MenuEntry& menuEntry(toolkit::ControlId id) override;

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
    toolkit::Control* control = nullptr;
    Placed* placed = nullptr;
    toolkit::Timer* timer = nullptr;
    toolkit::PopupMenu* menu = nullptr;
    toolkit::MenuEntry* entry = nullptr;
  };

  template <class T>
  T& Get(toolkit::ControlId id);
  template <class T, class... Args>
  T& Add(const toolkit::ControlLayout& layout, Args&&... args);
  Slot* SlotOfIdentifier(int identifier);

  void CreateControls();
  void CreateControl(const toolkit::ControlLayout& layout);
  HWND CreateChild(const toolkit::ControlLayout& layout, const toolkit::TwipsRect& rect, bool shown,
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
  std::array<Slot, toolkit::kControlCount> slots_{};
  bool controlsMade_ = false;
  bool unloaded_ = false;
  bool quitWhenDestroyed_ = true;
  UINT taskbarCreated_ = 0;
};

}  // namespace vekhor::win32
