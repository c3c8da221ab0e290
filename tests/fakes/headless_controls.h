// The window's controls as plain objects: tests read their fields and raise events by hand.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/toolkit.h"

namespace vekhor::fakes {

// Raises an event whose slot the program may have left empty.
template <class Slot, class... Arguments>
void Raise(const Slot& slot, Arguments... arguments) {
  if (slot) slot(arguments...);
}

// The form links each control to its focus record and page; one made alone has neither.
template <class Interface>
class HeadlessControl : public Interface {
 public:
  bool visible = true;
  std::string toolTip;
  app::TwipsRect rect;
  app::Control** focusRecord = nullptr;
  const app::Control* page = nullptr;

  void SetVisible(bool show) override { visible = show; }
  bool Visible() const override { return visible; }
  // A control the user cannot see or use takes no focus: focusing before showing is caught.
  void SetFocus() override {
    if (focusRecord == nullptr || !visible || (page != nullptr && !page->Visible())) return;
    if (Focusable()) *focusRecord = this;
  }
  void SetToolTip(const std::string& text) override { toolTip = text; }
  app::TwipsRect Rect() const override { return rect; }
  void SetLeft(int twips) override { rect.left = twips; }
  void SetTop(int twips) override { rect.top = twips; }
  void SetWidth(int twips) override { rect.width = twips; }
  void SetHeight(int twips) override { rect.height = twips; }

 protected:
  virtual bool Focusable() const { return true; }
};

class HeadlessLabel : public HeadlessControl<app::Label> {
 public:
  std::string caption;
  int changes = 0;  // captions set, to tell a refresh from a stale text that happens to match
  app::Color foreColor = app::kSystemColor;
  bool underline = false;

  void SetCaption(const std::string& text) override {
    caption = text;
    ++changes;
  }
  std::string Caption() const override { return caption; }
  void SetForeColor(app::Color color) override { foreColor = color; }
  app::Color ForeColor() const override { return foreColor; }
  void SetFontUnderline(bool on) override { underline = on; }
  bool FontUnderline() const override { return underline; }
  void SetMouseIcon(int /*cursorResource*/) override {}

  void MoveMouse(float x = 0, float y = 0) { Raise(onMouseMove, 0, 0, x, y); }
  void ReleaseMouse(int button, float x = 0, float y = 0) { Raise(onMouseUp, button, 0, x, y); }
};

class HeadlessButton : public HeadlessControl<app::Button> {
 public:
  std::string caption;
  bool enabled = true;

  void SetCaption(const std::string& text) override { caption = text; }
  std::string Caption() const override { return caption; }
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  // A disabled button ignores the click, as it ignores the user.
  void Click() {
    if (enabled) Raise(onClick);
  }

 protected:
  bool Focusable() const override { return enabled; }
};

class HeadlessCheckBox : public HeadlessControl<app::CheckBox> {
 public:
  std::string caption;
  int value = app::kUnchecked;

  void SetCaption(const std::string& text) override { caption = text; }
  std::string Caption() const override { return caption; }
  void SetValue(int newValue) override {
    if (newValue == value) return;
    value = newValue;
    Raise(onClick);
  }
  int Value() const override { return value; }
  // Checked becomes unchecked, anything else checked.
  void Click() { SetValue(value == app::kChecked ? app::kUnchecked : app::kChecked); }
};

class HeadlessOptionButton : public HeadlessControl<app::OptionButton> {
 public:
  std::string caption;
  int picture = 0;
  bool selected = false;
  // The buttons of its array, this one included; selecting one clears the others.
  const std::vector<HeadlessOptionButton*>* group = nullptr;

  void SetCaption(const std::string& text) override { caption = text; }
  void SetPicture(int iconResource) override { picture = iconResource; }
  bool Value() const override { return selected; }
  void Click() {
    if (group != nullptr) {
      for (HeadlessOptionButton* other : *group) other->selected = false;
    }
    selected = true;
    Raise(onClick);
  }
};

class HeadlessFrame : public HeadlessControl<app::Frame> {};

class HeadlessTextField : public HeadlessControl<app::TextField> {
 public:
  std::string text;

  void SetText(const std::string& newText) override { text = newText; }
  std::string Text() const override { return text; }
  // Keys typed at the end of what the field holds.
  void Type(const std::string& keys) { text += keys; }
};

// Entries out of range are a fault of the caller: the accessors throw std::out_of_range.
class HeadlessCheckedList : public HeadlessControl<app::CheckedList> {
 public:
  struct Item {
    std::string text;
    bool checked = false;
  };
  std::vector<Item> items;
  int listIndex = -1;

  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int index) const override { return items[Index(index)].text; }
  bool Selected(int index) const override { return items[Index(index)].checked; }
  void SetSelected(int index, bool checked) override {
    if (std::exchange(items[Index(index)].checked, checked) != checked) Raise(onItemCheck, index);
  }
  int ListIndex() const override { return listIndex; }
  void SetListIndex(int index) override {
    listIndex = index == -1 ? -1 : static_cast<int>(Index(index));
  }
  void AddItem(const std::string& text) override { items.push_back({text, false}); }
  void RemoveItem(int index) override {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(Index(index)));
    if (listIndex == index) {
      listIndex = -1;
    } else if (listIndex > index) {
      --listIndex;
    }
  }
  void Clear() override {
    items.clear();
    listIndex = -1;
  }

  // The user ticks or clears an entry's box.
  void ClickCheck(int index) { SetSelected(index, !Selected(index)); }
  void DoubleClick(int index) {
    SetListIndex(index);
    Raise(onDblClick);
  }

 private:
  std::size_t Index(int index) const {
    if (index < 0 || index >= ListCount()) throw std::out_of_range("list index out of range");
    return static_cast<std::size_t>(index);
  }
};

class HeadlessPictureBox : public HeadlessControl<app::PictureBox> {
 public:
  void SetBitmap(int /*bitmapResource*/) override {}
};

class HeadlessTrayHost : public HeadlessControl<app::TrayHost> {
 public:
  platform::WindowHandle handle = 0;
  int picture = 0;
  int twipsPerPixel = 15;  // 96 dots per inch

  platform::WindowHandle Handle() const override { return handle; }
  void SetPicture(int iconResource) override { picture = iconResource; }
  // A made-up handle per icon resource, 0 while there is no picture.
  std::uintptr_t PictureHandle() const override {
    return picture == 0 ? 0 : 0x10000 + static_cast<std::uintptr_t>(picture);
  }
  int TwipsPerPixel() const override { return twipsPerPixel; }
  // The shell's notification `message`: a pointer move whose x is the message in pixels.
  void Notify(int message) {
    Raise(onMouseMove, 0, 0, static_cast<float>(message * twipsPerPixel), 0.0F);
  }
};

class HeadlessTimer : public app::Timer {
 public:
  int interval = 0;
  bool enabled = false;

  void SetInterval(int milliseconds) override { interval = milliseconds; }
  int Interval() const override { return interval; }
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  // One interval has passed: a disabled timer stays silent.
  void Tick() {
    if (enabled) Raise(onTick);
  }
};

class HeadlessMenuEntry : public app::MenuEntry {
 public:
  std::string caption;
  void SetCaption(const std::string& text) override { caption = text; }
  std::string Caption() const override { return caption; }
  void Click() { Raise(onClick); }
};

class HeadlessPopupMenu : public app::PopupMenu {
 public:
  int popups = 0;
  void Popup() override { ++popups; }
};

}  // namespace vekhor::fakes
