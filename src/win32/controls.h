// The main window's standard controls as Win32 child windows: Static labels and picture,
// Button push buttons, check boxes and graphical option buttons, an Edit text field, and the
// hidden window that receives the tray icon's notifications.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/child_window.h"

namespace vekhor::win32 {

class LabelControl final : public ChildWindow<toolkit::Label> {
 public:
  LabelControl(WindowContext& context, const toolkit::ControlLayout& layout, PageFrame* container,
               WindowMaker maker);
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override { return HeldText(); }
  void SetForeColor(toolkit::Color color) override;
  toolkit::Color ForeColor() const override { return foreColor_; }
  void SetFontUnderline(bool underline) override;
  bool FontUnderline() const override { return underline_; }
  void SetMouseIcon(int cursorResource) override;
  void ApplyDpi() override;

  // The label's own window procedure: pointer moves, button releases and the pointer's shape.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  void WindowMade() override;
  int PlacedHeight() const override;

 private:
  toolkit::Color foreColor_;
  bool underline_ = false;
  int cursorResource_ = 0;
  UniqueCursor cursor_;
  WNDPROC staticProc_ = nullptr;
};

class ButtonControl final : public ChildWindow<toolkit::Button> {
 public:
  using ChildWindow::ChildWindow;
  void SetCaption(const std::string& caption) override { HoldText(caption); }
  std::string Caption() const override { return HeldText(); }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetShield(bool shield) override;
  void Clicked() {
    if (onClick) onClick();
  }

 protected:
  void WindowMade() override;

 private:
  bool enabled_ = true;
  bool shield_ = false;
};

class CheckBoxControl final : public ChildWindow<toolkit::CheckBox> {
 public:
  using ChildWindow::ChildWindow;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override { return HeldText(); }
  void SetValue(int value) override;
  int Value() const override { return value_; }
  void ApplyDpi() override;
  // A click toggles between clear and checked, as the box shows it.
  void Clicked() {
    SetValue(value_ == toolkit::kChecked ? toolkit::kUnchecked : toolkit::kChecked);
  }

 protected:
  void WindowMade() override;

 private:
  void FitFont();
  void SetCheck();
  int value_ = toolkit::kUnchecked;
};

class OptionButtonControl final : public ChildWindow<toolkit::OptionButton> {
 public:
  using ChildWindow::ChildWindow;
  void SetCaption(const std::string& caption) override { HoldText(caption); }
  void SetPicture(int iconResource) override;
  bool Value() const override { return selected_; }
  void SetValue(bool selected);
  void ApplyDpi() override;
  void Clicked() {
    if (onClick) onClick();
  }

 protected:
  void WindowMade() override;

 private:
  void LoadPicture();
  bool selected_ = false;
  int iconResource_ = 0;
  UniqueIcon icon_;
};

class TextFieldControl final : public ChildWindow<toolkit::TextField> {
 public:
  using ChildWindow::ChildWindow;
  void SetText(const std::string& text) override { HoldText(text); }
  // What the user typed is in the window once there is one.
  std::string Text() const override {
    return window_ != nullptr ? WindowTextA(window_) : HeldText();
  }
};

class PictureBoxControl final : public ChildWindow<toolkit::PictureBox> {
 public:
  using ChildWindow::ChildWindow;
  void SetBitmap(int bitmapResource) override;
  void ApplyDpi() override;

 private:
  int bitmapResource_ = 0;
  UniqueBitmap bitmap_;
};

class TrayHostControl final : public ChildWindow<toolkit::TrayHost> {
 public:
  using ChildWindow::ChildWindow;
  platform::WindowHandle Handle() const override {
    return reinterpret_cast<platform::WindowHandle>(window_);
  }
  void SetPicture(int iconResource) override;
  std::uintptr_t PictureHandle() const override {
    return reinterpret_cast<std::uintptr_t>(icon_.get());
  }
  int TwipsPerPixel() const override { return kTwipsPerInch / context_.dpi; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  static constexpr const wchar_t* kClassName = L"VekhorTrayHost";

 protected:
  void WindowMade() override;

 private:
  UniqueIcon icon_;
};

// The toolkit's mouse event arguments from a Win32 mouse message.
struct MouseArguments {
  int button;
  int shift;
  float x;
  float y;
};
MouseArguments ToMouseArguments(WPARAM wParam, LPARAM lParam, int dpi);

}  // namespace vekhor::win32
