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

// What every control has. Focus is not followed here: the Wine tests watch the real one.
template <class Interface>
class HeadlessControl : public Interface {
 public:
  bool visible = true;
  std::string toolTip;
  app::TwipsRect rect;

  void SetVisible(bool show) override { visible = show; }
  bool Visible() const override { return visible; }
  void SetFocus() override {}
  void SetToolTip(const std::string& text) override { toolTip = text; }
  app::TwipsRect Rect() const override { return rect; }
  void SetLeft(int twips) override { rect.left = twips; }
  void SetTop(int twips) override { rect.top = twips; }
  void SetWidth(int twips) override { rect.width = twips; }
  void SetHeight(int twips) override { rect.height = twips; }
};

template <class Base>
class Captioned : public Base {
 public:
  std::string caption;
  int changes = 0;  // captions set, to tell a refresh from a stale text that happens to match

  void SetCaption(const std::string& text) override {
    caption = text;
    ++changes;
  }
  std::string Caption() const override { return caption; }
};

class HeadlessLabel : public Captioned<HeadlessControl<app::Label>> {
 public:
  app::Color foreColor = app::kSystemColor;
  bool underline = false;

  void SetForeColor(app::Color color) override { foreColor = color; }
  app::Color ForeColor() const override { return foreColor; }
  void SetFontUnderline(bool on) override { underline = on; }
  bool FontUnderline() const override { return underline; }
  void SetMouseIcon(int /*cursorResource*/) override {}

  void MoveMouse(float x = 0, float y = 0) { Raise(onMouseMove, 0, 0, x, y); }
};

class HeadlessButton : public Captioned<HeadlessControl<app::Button>> {
 public:
  bool enabled = true;

  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  void Click() {
    if (enabled) Raise(onClick);
  }
};

class HeadlessCheckBox : public Captioned<HeadlessControl<app::CheckBox>> {
 public:
  int value = app::kUnchecked;

  void SetValue(int newValue) override {
    if (newValue == value) return;
    value = newValue;
    Raise(onClick);
  }
  int Value() const override { return value; }
  void Click() { SetValue(value == app::kChecked ? app::kUnchecked : app::kChecked); }
};

// The program never asks which page button is down.
class HeadlessOptionButton : public HeadlessControl<app::OptionButton> {
 public:
  std::string caption;
  int picture = 0;

  void SetCaption(const std::string& text) override { caption = text; }
  void SetPicture(int iconResource) override { picture = iconResource; }
  bool Value() const override { return false; }
};

class HeadlessFrame : public HeadlessControl<app::Frame> {};

class HeadlessTextField : public HeadlessControl<app::TextField> {
 public:
  std::string text;

  void SetText(const std::string& newText) override { text = newText; }
  std::string Text() const override { return text; }
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
  std::string List(int index) const override { return At(index).text; }
  bool Selected(int index) const override { return At(index).checked; }
  void SetSelected(int index, bool checked) override {
    if (std::exchange(At(index).checked, checked) != checked) Raise(onItemCheck, index);
  }
  int ListIndex() const override { return listIndex; }
  void SetListIndex(int index) override {
    if (index != -1) At(index);
    listIndex = index;
  }
  void AddItem(const std::string& text) override { items.push_back({text, false}); }
  void RemoveItem(int index) override {
    items.erase(items.begin() + (&At(index) - items.data()));
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

  void ClickCheck(int index) { SetSelected(index, !Selected(index)); }
  void DoubleClick(int index) {
    SetListIndex(index);
    Raise(onDblClick);
  }

 private:
  // A negative index turns into one far beyond the end.
  const Item& At(int index) const { return items.at(static_cast<std::size_t>(index)); }
  Item& At(int index) { return items.at(static_cast<std::size_t>(index)); }
};

class HeadlessPictureBox : public HeadlessControl<app::PictureBox> {
 public:
  void SetBitmap(int /*bitmapResource*/) override {}
};

// Hidden, with a window of its own apart from the main window's.
class HeadlessTrayHost : public HeadlessControl<app::TrayHost> {
 public:
  HeadlessTrayHost() { visible = false; }
  platform::WindowHandle handle = 0x5678;
  int picture = 0;
  int twipsPerPixel = 15;  // 96 dots per inch

  platform::WindowHandle Handle() const override { return handle; }
  void SetPicture(int iconResource) override { picture = iconResource; }
  // A made-up handle per icon resource, apart from the resource's number; 0 with no picture.
  std::uintptr_t PictureHandle() const override {
    return picture == 0 ? 0 : 0x10000 + static_cast<std::uintptr_t>(picture);
  }
  int TwipsPerPixel() const override { return twipsPerPixel; }
};

class HeadlessTimer : public app::Timer {
 public:
  int interval = 0;
  bool enabled = false;

  void SetInterval(int milliseconds) override { interval = milliseconds; }
  int Interval() const override { return interval; }
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  void Tick() {
    if (enabled) Raise(onTick);
  }
};

class HeadlessMenuEntry : public Captioned<app::MenuEntry> {};

class HeadlessPopupMenu : public app::PopupMenu {
 public:
  int popups = 0;
  void Popup() override { ++popups; }
};

}  // namespace vekhor::fakes
