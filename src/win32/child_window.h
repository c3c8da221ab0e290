// The part every child control of the main window shares: its window, its place in twips within
// its container (the window or a page), its visibility, focus and tool tip.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/toolkit.h"
#include "win32/window_context.h"

namespace vekhor::win32 {

// What the window does with all its controls at once: place them after a move or a DPI change
// and show or hide them with their page.
class Placed {
 public:
  virtual ~Placed() = default;
  virtual void Place() = 0;
  virtual void UpdateShown() = 0;
  virtual void ApplyDpi() = 0;
  // Its window now, if it has none yet.
  virtual void Make() = 0;
  // Its window, or none while it has not been made.
  virtual HWND Window() const = 0;
  // Its tip, if it has one, to the tips' window, which is made on the first pointer move.
  virtual void AddToolTip() {}
};

// A page: no window of its own, so that the controls' notifications reach the main window
// directly; it shows, hides and moves the controls it contains. The window starts on its first
// page, the one its selected page button names; the others start hidden.
class PageFrame final : public toolkit::Frame, public Placed {
 public:
  explicit PageFrame(const toolkit::ControlLayout& layout)
      : rect_(layout.rect), visible_(layout.index <= 0) {}
  void Contain(Placed& child) { children_.push_back(&child); }

  void SetVisible(bool visible) override;
  bool Visible() const override { return visible_; }
  void SetFocus() override {}
  void SetToolTip(const std::string&) override {}
  toolkit::TwipsRect Rect() const override { return rect_; }
  void SetLeft(int twips) override;
  void SetTop(int twips) override;
  void SetWidth(int twips) override;
  void SetHeight(int twips) override;
  void Place() override;
  void UpdateShown() override;
  void ApplyDpi() override {}
  void Make() override {}
  HWND Window() const override { return nullptr; }

 private:
  toolkit::TwipsRect rect_;
  bool visible_;
  std::vector<Placed*> children_;
};

// Makes a control's window at `rect` within its container, shown or not.
using WindowMaker = std::function<HWND(const toolkit::TwipsRect& rect, bool shown)>;

// A control's window is made when it is first to be seen, or at once for one of the window's
// own: a page's controls cost the start nothing until their page is shown. Until then the
// control keeps what it is told, and its window starts with all of it.
template <class Interface>
class ChildWindow : public Interface, public Placed {
 public:
  ChildWindow(WindowContext& context, const toolkit::ControlLayout& layout, PageFrame* container,
              WindowMaker maker)
      : context_(context),
        layout_(layout),
        container_(container),
        maker_(std::move(maker)),
        rect_(layout.rect),
        font_(layout.font),
        text_(layout.caption),
        visible_(layout.visible) {}

  HWND Window() const override { return window_; }
  const toolkit::ControlLayout& Layout() const { return layout_; }

  void Make() override {
    if (window_ != nullptr || !maker_) return;
    window_ = maker_(rect_, Shown());
    if (window_ == nullptr) return;
    if (!text_.empty()) ::SetWindowTextA(window_, text_.c_str());
    WindowMade();
    AddToolTip();
  }
  void SetVisible(bool visible) override {
    if (visible == visible_) return;
    visible_ = visible;
    UpdateShown();
  }
  bool Visible() const override { return visible_; }
  void SetFocus() override {
    if (window_ != nullptr) ::SetFocus(window_);
  }
  void SetToolTip(const std::string& text) override {
    toolTip_ = text;
    AddToolTip();
  }
  toolkit::TwipsRect Rect() const override { return rect_; }
  void SetLeft(int twips) override { Move(rect_.left, twips); }
  void SetTop(int twips) override { Move(rect_.top, twips); }
  void SetWidth(int twips) override { Move(rect_.width, twips); }
  void SetHeight(int twips) override { Move(rect_.height, twips); }

  void Place() override {
    if (window_ == nullptr) return;
    const toolkit::TwipsRect origin =
        container_ != nullptr ? container_->Rect() : toolkit::TwipsRect{};
    ::SetWindowPos(window_, nullptr, context_.Pixels(origin.left + rect_.left),
                   context_.Pixels(origin.top + rect_.top), context_.Pixels(rect_.width),
                   context_.Pixels(PlacedHeight()), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void UpdateShown() override {
    const bool shown = Shown();
    if (window_ == nullptr) {
      if (shown) Make();  // made shown
      return;
    }
    ::ShowWindow(window_, shown ? SW_SHOWNA : SW_HIDE);
  }
  void ApplyDpi() override {
    if (window_ != nullptr) SelectFont(false);
  }
  void AddToolTip() override {
    if (window_ == nullptr || context_.toolTips == nullptr || toolTip_.empty()) return;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    // Not TTF_SUBCLASS: a subclassed control looks up its subclass at every message, which
    // under Wine is a call to the server each; the message loop relays the pointer instead.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = context_.main;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = const_cast<char*>(toolTip_.c_str());
    ::SendMessageA(context_.toolTips, hasToolTip_ ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0,
                   reinterpret_cast<LPARAM>(&tool));
    hasToolTip_ = true;
  }

 protected:
  // The window has just been made: it takes what the control holds.
  virtual void WindowMade() { ApplyDpi(); }
  // The control's text (a caption, or a text field's text), held for the window it may not
  // have yet, which starts with it.
  void HoldText(const std::string& text) {
    text_ = text;
    if (window_ != nullptr) ::SetWindowTextA(window_, text_.c_str());
  }
  const std::string& HeldText() const { return text_; }
  // The height the window gets; a label that grows to fit its text says more.
  virtual int PlacedHeight() const { return rect_.height; }
  bool Shown() const { return visible_ && (container_ == nullptr || container_->Visible()); }
  void SelectFont(bool underline) {
    ::SendMessageW(window_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(context_.fonts.Get(font_, underline, context_.dpi)),
                   TRUE);
  }

  WindowContext& context_;
  const toolkit::ControlLayout& layout_;
  PageFrame* container_;
  WindowMaker maker_;
  HWND window_ = nullptr;
  toolkit::TwipsRect rect_;
  toolkit::Font font_;

 private:
  // The resize handler puts every page back in its place at each resize: mostly where it is.
  void Move(int& field, int twips) {
    if (field == twips) return;
    field = twips;
    Place();
  }
  std::string text_;
  bool visible_;
  std::string toolTip_;
  bool hasToolTip_ = false;
};

}  // namespace vekhor::win32
