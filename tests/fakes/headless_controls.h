// The window's controls as plain objects that a test also drives: it clicks, types, ticks and
// moves the pointer by hand, and an entry out of the list's range is the caller's fault.
#pragma once

#include <stdexcept>
#include <string>

#include "toolkit/memory_form.h"

namespace vekhor::fakes {

using toolkit::Raise;

class HeadlessLabel : public toolkit::MemoryLabel {
 public:
  void MoveMouse(float x = 0, float y = 0) { Raise(onMouseMove, 0, 0, x, y); }
};

class HeadlessButton : public toolkit::MemoryButton {
 public:
  void Click() {
    if (enabled) Raise(onClick);
  }
};

class HeadlessCheckBox : public toolkit::MemoryCheckBox {
 public:
  void Click() { SetValue(value == toolkit::kChecked ? toolkit::kUnchecked : toolkit::kChecked); }
};

class HeadlessTextField : public toolkit::MemoryTextField {
 public:
  void Type(const std::string& keys) { text += keys; }
};

// The accessors throw std::out_of_range for an entry beyond the list, so a test sees the fault.
class HeadlessCheckedList : public toolkit::MemoryCheckedList {
 public:
  void ClickCheck(int index) { SetSelected(index, !Selected(index)); }
  void DoubleClick(int index) {
    SetListIndex(index);
    Raise(onDblClick);
  }

 protected:
  const Item* At(int index) const override {
    // A negative index turns into one far beyond the end.
    return &items.at(static_cast<std::size_t>(index));
  }
};

class HeadlessTimer : public toolkit::MemoryTimer {
 public:
  void Tick() {
    if (enabled) Raise(onTick);
  }
};

using HeadlessOptionButton = toolkit::MemoryOptionButton;
using HeadlessFrame = toolkit::MemoryFrame;
using HeadlessPictureBox = toolkit::MemoryPictureBox;
using HeadlessTrayHost = toolkit::MemoryTrayHost;
using HeadlessMenuEntry = toolkit::MemoryMenuEntry;
using HeadlessPopupMenu = toolkit::MemoryPopupMenu;

struct HeadlessControls : toolkit::MemoryControls {
  using Label = HeadlessLabel;
  using Button = HeadlessButton;
  using CheckBox = HeadlessCheckBox;
  using TextField = HeadlessTextField;
  using CheckedList = HeadlessCheckedList;
  using Timer = HeadlessTimer;
};

}  // namespace vekhor::fakes
