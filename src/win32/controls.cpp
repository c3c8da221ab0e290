#include "win32/controls.h"

#include <uxtheme.h>

#include <algorithm>

namespace vekhor::win32 {
namespace {

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* label = reinterpret_cast<LabelControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  return label->HandleMessage(message, wParam, lParam);
}

// Icons and pictures are loaded at the size the window's DPI asks for, not stretched later.
HICON LoadIconAt(HINSTANCE instance, int resource, int size) {
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

std::string WindowTextA(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

MouseArguments ToMouseArguments(WPARAM wParam, LPARAM lParam, int dpi) {
  int button = 0;
  if (wParam & MK_LBUTTON) button |= toolkit::kLeftButton;
  if (wParam & MK_RBUTTON) button |= toolkit::kRightButton;
  if (wParam & MK_MBUTTON) button |= toolkit::kMiddleButton;
  int shift = 0;
  if (wParam & MK_SHIFT) shift |= 1;
  if (wParam & MK_CONTROL) shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) shift |= 4;
  const auto x = static_cast<short>(LOWORD(lParam));
  const auto y = static_cast<short>(HIWORD(lParam));
  return {button, shift, PixelsToTwips(x, dpi), PixelsToTwips(y, dpi)};
}

// Every resize puts the pages back where they are: nothing to do then.
void PageFrame::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  UpdateShown();
}

void PageFrame::SetLeft(int twips) {
  if (rect_.left == twips) return;
  rect_.left = twips;
  Place();
}
void PageFrame::SetTop(int twips) {
  if (rect_.top == twips) return;
  rect_.top = twips;
  Place();
}
void PageFrame::SetWidth(int twips) {
  rect_.width = twips;
}
void PageFrame::SetHeight(int twips) {
  rect_.height = twips;
}

void PageFrame::Place() {
  for (Placed* child : children_) child->Place();
}

void PageFrame::UpdateShown() {
  for (Placed* child : children_) child->UpdateShown();
}

LabelControl::LabelControl(WindowContext& context, const toolkit::ControlLayout& layout,
                           PageFrame* container, WindowMaker maker)
    : ChildWindow(context, layout, container, std::move(maker)), foreColor_(layout.foreColor) {}

void LabelControl::WindowMade() {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  staticProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelProc)));
  ApplyDpi();
}

void LabelControl::SetCaption(const std::string& caption) {
  HoldText(caption);
  if (layout_.growsToFit) Place();
}

void LabelControl::SetForeColor(toolkit::Color color) {
  if (color == foreColor_) return;
  foreColor_ = color;
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, TRUE);
}

void LabelControl::SetFontUnderline(bool underline) {
  if (underline == underline_) return;
  underline_ = underline;
  if (window_ != nullptr) SelectFont(underline_);
}

void LabelControl::SetMouseIcon(int cursorResource) {
  cursorResource_ = cursorResource;
  if (window_ == nullptr) return;
  const int size = ::MulDiv(32, context_.dpi, kDefaultDpi);
  cursor_.reset(static_cast<HCURSOR>(::LoadImageW(
      context_.instance, MAKEINTRESOURCEW(cursorResource), IMAGE_CURSOR, size, size, 0)));
}

void LabelControl::ApplyDpi() {
  if (window_ == nullptr) return;
  SelectFont(underline_);
  if (cursorResource_ != 0) SetMouseIcon(cursorResource_);
  Place();
}

// The text, wrapped at the label's width, may need more lines than the label has: it then grows
// downwards as far as its container reaches.
int LabelControl::PlacedHeight() const {
  const std::string& caption = HeldText();
  if (!layout_.growsToFit || caption.empty() || window_ == nullptr) return rect_.height;
  HDC dc = ::GetDC(window_);
  if (dc == nullptr) return rect_.height;
  HGDIOBJ previous = ::SelectObject(dc, context_.fonts.Get(layout_.font, underline_, context_.dpi));
  RECT text{0, 0, context_.Pixels(rect_.width), 0};
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
  ::SelectObject(dc, previous);
  ::ReleaseDC(window_, dc);
  const int containerHeight =
      container_ != nullptr ? container_->Rect().height : toolkit::kClientHeightTwips;
  const int room = containerHeight - rect_.top;
  const int needed = static_cast<int>(PixelsToTwips(text.bottom, context_.dpi) + 0.999f);
  return std::clamp(needed, rect_.height, std::max(room, rect_.height));
}

LRESULT LabelControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (onMouseMove) {
        const MouseArguments at = ToMouseArguments(wParam, lParam, context_.dpi);
        onMouseMove(at.button, at.shift, at.x, at.y);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (onMouseUp) {
        const MouseArguments at = ToMouseArguments(wParam, lParam, context_.dpi);
        const int released = message == WM_LBUTTONUP   ? toolkit::kLeftButton
                             : message == WM_RBUTTONUP ? toolkit::kRightButton
                                                       : toolkit::kMiddleButton;
        onMouseUp(released, at.shift, at.x, at.y);
      }
      return 0;
    case WM_SETCURSOR:
      if (cursor_ != nullptr) {
        ::SetCursor(cursor_.get());
        return TRUE;
      }
      break;
    default:
      break;
  }
  return ::CallWindowProcW(staticProc_, window_, message, wParam, lParam);
}

void ButtonControl::WindowMade() {
  if (!enabled_) ::EnableWindow(window_, FALSE);
  if (shield_) ::SendMessageW(window_, BCM_SETSHIELD, 0, TRUE);
  ApplyDpi();
}

void ButtonControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_ != nullptr) ::EnableWindow(window_, enabled ? TRUE : FALSE);
}

void ButtonControl::SetShield(bool shield) {
  shield_ = shield;
  if (window_ != nullptr) ::SendMessageW(window_, BCM_SETSHIELD, 0, shield ? TRUE : FALSE);
}

void CheckBoxControl::WindowMade() {
  // A themed check box draws its text in the theme's colour and ignores the window's; without a
  // theme it takes the green on black that WM_CTLCOLORSTATIC gives it.
  if (const auto unthemed = context_.uxtheme.Find<decltype(::SetWindowTheme)>("SetWindowTheme")) {
    unthemed(window_, L"", L"");
  }
  if (value_ != toolkit::kUnchecked) SetCheck();
  FitFont();
}

void CheckBoxControl::SetCaption(const std::string& caption) {
  HoldText(caption);
  FitFont();
}

void CheckBoxControl::ApplyDpi() {
  FitFont();
}

// A long caption (the Internet check's, in English and Swedish) would be cut at the box's edge:
// it takes the largest size of its font, in quarter points, that fits beside the box.
void CheckBoxControl::FitFont() {
  constexpr int kSmallestHundredths = 600;
  if (window_ == nullptr) return;
  const std::string& caption = HeldText();
  const int room = context_.Pixels(rect_.width) - ::GetSystemMetrics(SM_CXMENUCHECK) - 6;
  font_ = layout_.font;
  HDC dc = ::GetDC(window_);
  while (layout_.shrinksToFit && dc != nullptr && !caption.empty() &&
         font_.hundredthsOfPoint > kSmallestHundredths) {
    HGDIOBJ previous = ::SelectObject(dc, context_.fonts.Get(font_, false, context_.dpi));
    SIZE text{};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    ::SelectObject(dc, previous);
    if (text.cx <= room) break;
    font_.hundredthsOfPoint -= 25;
  }
  if (dc != nullptr) ::ReleaseDC(window_, dc);
  SelectFont(false);
}

// Windows raises no click when code changes the state: the box raises it itself, for every
// change and only for a change.
void CheckBoxControl::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  SetCheck();
  if (onClick) onClick();
}

void CheckBoxControl::SetCheck() {
  if (window_ == nullptr) return;
  const WPARAM state = value_ == toolkit::kChecked  ? BST_CHECKED
                       : value_ == toolkit::kGrayed ? BST_INDETERMINATE
                                                    : BST_UNCHECKED;
  ::SendMessageW(window_, BM_SETCHECK, state, 0);
}

void OptionButtonControl::WindowMade() {
  if (selected_) SetValue(true);
  ApplyDpi();
}

void OptionButtonControl::SetValue(bool selected) {
  selected_ = selected;
  if (window_ == nullptr) return;
  ::SendMessageW(window_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OptionButtonControl::SetPicture(int iconResource) {
  iconResource_ = iconResource;
  LoadPicture();
}

void OptionButtonControl::ApplyDpi() {
  if (window_ == nullptr) return;
  SelectFont(false);
  LoadPicture();
}

// The icon at the window's DPI.
void OptionButtonControl::LoadPicture() {
  if (iconResource_ == 0 || window_ == nullptr) return;
  UniqueIcon icon(LoadIconAt(context_.instance, iconResource_, ::MulDiv(32, context_.dpi, 96)));
  ::SendMessageW(window_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
  icon_ = std::move(icon);  // the button holds the new icon before the old one goes
}

void PictureBoxControl::SetBitmap(int bitmapResource) {
  bitmapResource_ = bitmapResource;
  ApplyDpi();
}

void PictureBoxControl::ApplyDpi() {
  if (bitmapResource_ == 0 || window_ == nullptr) return;
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(context_.instance, MAKEINTRESOURCEW(bitmapResource_), IMAGE_BITMAP,
                   context_.Pixels(rect_.width), context_.Pixels(rect_.height), 0)));
  auto previous = reinterpret_cast<HBITMAP>(
      ::SendMessageW(window_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())));
  // A static control of version 6 may hand back a copy it made of our bitmap: that copy is its
  // to give up, ours is released by its owner.
  if (previous != nullptr && previous != bitmap_.get()) ::DeleteObject(previous);
  bitmap_ = std::move(bitmap);
  Place();
}

void TrayHostControl::WindowMade() {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TrayHostControl::SetPicture(int iconResource) {
  icon_.reset(LoadIconAt(context_.instance, iconResource, ::GetSystemMetrics(SM_CXSMICON)));
}

// The shell reports the icon's mouse events as WM_MOUSEMOVE with the mouse message in lParam:
// it reaches the program as a move whose x is that number in twips.
LRESULT TrayHostControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    if (onMouseMove) {
      const auto number = static_cast<int>(LOWORD(lParam));
      onMouseMove(0, 0, static_cast<float>(number * TwipsPerPixel()), 0.0f);
    }
    return 0;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace vekhor::win32
