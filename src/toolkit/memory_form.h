// The main window with no window behind it: every control of the layout table as a plain value
// that raises its events as a real control does. It is the window of close mode, which shows
// nothing and so must run where no display is (a scheduled task, a service, Wine without X);
// the tests drive the same controls by hand.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "toolkit/toolkit.h"

namespace vekhor::toolkit {

// Raises an event whose slot the program may have left empty.
template <class Slot, class... Arguments>
void Raise(const Slot& slot, Arguments... arguments) {
  if (slot) slot(arguments...);
}

// What every control has. There is no focus to move without a window.
template <class Interface>
class MemoryControl : public Interface {
 public:
  bool visible = true;
  std::string toolTip;
  TwipsRect rect;

  void SetVisible(bool show) override { visible = show; }
  bool Visible() const override { return visible; }
  void SetFocus() override {}
  void SetToolTip(const std::string& text) override { toolTip = text; }
  TwipsRect Rect() const override { return rect; }
  void SetLeft(int twips) override { rect.left = twips; }
  void SetTop(int twips) override { rect.top = twips; }
  void SetWidth(int twips) override { rect.width = twips; }
  void SetHeight(int twips) override { rect.height = twips; }
};

template <class Base>
class MemoryCaptioned : public Base {
 public:
  std::string caption;
  int changes = 0;  // captions set, to tell a refresh from a stale text that happens to match

  void SetCaption(const std::string& text) override {
    caption = text;
    ++changes;
  }
  std::string Caption() const override { return caption; }
};

class MemoryLabel : public MemoryCaptioned<MemoryControl<Label>> {
 public:
  Color foreColor = kSystemColor;
  bool underline = false;

  void SetForeColor(Color color) override { foreColor = color; }
  Color ForeColor() const override { return foreColor; }
  void SetFontUnderline(bool on) override { underline = on; }
  bool FontUnderline() const override { return underline; }
  void SetMouseIcon(int /*cursorResource*/) override {}
};

class MemoryButton : public MemoryCaptioned<MemoryControl<Button>> {
 public:
  bool enabled = true;
  bool shield = false;

  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  void SetShield(bool on) override { shield = on; }
};

class MemoryCheckBox : public MemoryCaptioned<MemoryControl<CheckBox>> {
 public:
  int value = kUnchecked;

  void SetValue(int newValue) override {
    if (newValue == value) return;
    value = newValue;
    Raise(onClick);
  }
  int Value() const override { return value; }
};

class MemoryOptionButton : public MemoryControl<OptionButton> {
 public:
  std::string caption;
  int picture = 0;

  void SetCaption(const std::string& text) override { caption = text; }
  void SetPicture(int iconResource) override { picture = iconResource; }
  bool Value() const override { return false; }
};

class MemoryFrame : public MemoryControl<Frame> {};

class MemoryTextField : public MemoryControl<TextField> {
 public:
  std::string text;

  void SetText(const std::string& newText) override { text = newText; }
  std::string Text() const override { return text; }
};

// An index outside the list reads as an empty, clear entry and changes nothing; At() is where a
// stricter list (the tests') refuses one.
class MemoryCheckedList : public MemoryControl<CheckedList> {
 public:
  struct Item {
    std::string text;
    bool checked = false;
  };
  std::vector<Item> items;
  int listIndex = -1;

  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int index) const override {
    const Item* item = At(index);
    return item != nullptr ? item->text : std::string();
  }
  bool Selected(int index) const override {
    const Item* item = At(index);
    return item != nullptr && item->checked;
  }
  void SetSelected(int index, bool checked) override {
    Item* item = Mutable(index);
    if (item != nullptr && std::exchange(item->checked, checked) != checked) {
      Raise(onItemCheck, index);
    }
  }
  int ListIndex() const override { return listIndex; }
  void SetListIndex(int index) override {
    if (index == -1 || At(index) != nullptr) listIndex = index;
  }
  void AddItem(const std::string& text) override { items.push_back({text, false}); }
  void RemoveItem(int index) override {
    if (At(index) == nullptr) return;
    items.erase(items.begin() + index);
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

 protected:
  virtual const Item* At(int index) const {
    if (index < 0 || index >= ListCount()) return nullptr;
    return &items[static_cast<std::size_t>(index)];
  }

 private:
  Item* Mutable(int index) { return const_cast<Item*>(At(index)); }
};

class MemoryPictureBox : public MemoryControl<PictureBox> {
 public:
  void SetBitmap(int /*bitmapResource*/) override {}
};

// Hidden; its handle and picture are made-up numbers that no shell is ever given.
class MemoryTrayHost : public MemoryControl<TrayHost> {
 public:
  MemoryTrayHost() { visible = false; }
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

// Holds its settings; ticks come only from whoever drives the form.
class MemoryTimer : public Timer {
 public:
  int interval = 0;
  bool enabled = false;

  void SetInterval(int milliseconds) override { interval = milliseconds; }
  int Interval() const override { return interval; }
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
};

class MemoryMenuEntry : public MemoryCaptioned<MenuEntry> {};

class MemoryPopupMenu : public PopupMenu {
 public:
  int popups = 0;
  void Popup() override { ++popups; }
};

// The controls a memory form is made of; a driver may put its own kinds in their place.
struct MemoryControls {
  using Label = MemoryLabel;
  using Button = MemoryButton;
  using CheckBox = MemoryCheckBox;
  using OptionButton = MemoryOptionButton;
  using Frame = MemoryFrame;
  using TextField = MemoryTextField;
  using CheckedList = MemoryCheckedList;
  using PictureBox = MemoryPictureBox;
  using TrayHost = MemoryTrayHost;
  using Timer = MemoryTimer;
  using PopupMenu = MemoryPopupMenu;
  using MenuEntry = MemoryMenuEntry;
};

// Asked for a control as a kind it is not: a fault in the program, caught at its first start.
[[noreturn]] void WrongControlKind(ControlId id);

template <class Controls = MemoryControls>
class MemoryForm : public MemoryCaptioned<Form> {
 public:
  MemoryForm() {
    for (const ControlLayout& layout : MainWindowLayout()) {
      Object& object = objects_[static_cast<std::size_t>(layout.id)];
      Emplace(object, layout.kind, std::make_index_sequence<std::variant_size_v<Object>>());
      const std::string fixedCaption(layout.caption);
      std::visit(
          [&](auto& control) {
            if constexpr (std::is_same_v<decltype(control), std::monostate&>) {
              caption = fixedCaption;
            }
            if constexpr (requires { control.rect; }) control.rect = layout.rect;
            if constexpr (requires { control.caption; }) control.caption = fixedCaption;
            if constexpr (requires { control.text; }) control.text = fixedCaption;
            if constexpr (requires { control.foreColor; }) control.foreColor = layout.foreColor;
          },
          object);
    }
  }

  bool visible = false;
  int windowState = kWindowNormal;
  platform::WindowHandle handle = 0x1234;
  bool unloaded = false;

  void SetVisible(bool show) override { visible = show; }
  bool Visible() const override { return visible; }
  int WindowState() const override { return windowState; }
  void Unload() override { Close(kUnloadFromCode); }
  platform::WindowHandle Handle() const override { return handle; }

  // Asks to close for the reason `mode`; false when a handler refused.
  bool Close(int mode) {
    if (unloaded) return true;
    int cancel = 0;
    Raise(onQueryUnload, std::ref(cancel), mode);
    if (cancel != 0) return false;
    Raise(onUnload, std::ref(cancel));
    if (cancel != 0) return false;
    unloaded = true;
    visible = false;
    return true;
  }

  typename Controls::Label& label(ControlId id) override {
    return Get<typename Controls::Label>(id);
  }
  typename Controls::Button& button(ControlId id) override {
    return Get<typename Controls::Button>(id);
  }
  typename Controls::CheckBox& checkBox(ControlId id) override {
    return Get<typename Controls::CheckBox>(id);
  }
  typename Controls::OptionButton& optionButton(ControlId id) override {
    return Get<typename Controls::OptionButton>(id);
  }
  typename Controls::Frame& frame(ControlId id) override {
    return Get<typename Controls::Frame>(id);
  }
  typename Controls::TextField& textField(ControlId id) override {
    return Get<typename Controls::TextField>(id);
  }
  typename Controls::CheckedList& checkedList(ControlId id) override {
    return Get<typename Controls::CheckedList>(id);
  }
  typename Controls::PictureBox& pictureBox(ControlId id) override {
    return Get<typename Controls::PictureBox>(id);
  }
  typename Controls::TrayHost& trayHost(ControlId id) override {
    return Get<typename Controls::TrayHost>(id);
  }
  typename Controls::Timer& timer(ControlId id) override {
    return Get<typename Controls::Timer>(id);
  }
  typename Controls::PopupMenu& popupMenu(ControlId id) override {
    return Get<typename Controls::PopupMenu>(id);
  }
  typename Controls::MenuEntry& menuEntry(ControlId id) override {
    return Get<typename Controls::MenuEntry>(id);
  }

 private:
  // The alternatives in the order of ControlKind, the window itself first.
  using Object =
      std::variant<std::monostate, typename Controls::OptionButton, typename Controls::Frame,
                   typename Controls::Button, typename Controls::Label, typename Controls::CheckBox,
                   typename Controls::TextField, typename Controls::CheckedList,
                   typename Controls::PictureBox, typename Controls::TrayHost,
                   typename Controls::Timer, typename Controls::PopupMenu,
                   typename Controls::MenuEntry>;

  template <std::size_t... Kinds>
  static void Emplace(Object& object, ControlKind kind, std::index_sequence<Kinds...>) {
    ((static_cast<std::size_t>(kind) == Kinds ? (void)object.template emplace<Kinds>() : void()),
     ...);
  }

  template <class Kind>
  Kind& Get(ControlId id) {
    if (Kind* found = std::get_if<Kind>(&objects_[static_cast<std::size_t>(id)])) return *found;
    WrongControlKind(id);
  }

  std::array<Object, kControlCount> objects_;
};

}  // namespace vekhor::toolkit
