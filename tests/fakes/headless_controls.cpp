#include "fakes/headless_controls.h"

#include <stdexcept>
#include <string>

namespace vekhor::fakes {
namespace {

// Raises an event whose slot the program may have left empty.
template <class Slot, class... Arguments>
void Raise(const Slot& slot, Arguments... arguments) {
  if (slot) slot(arguments...);
}

constexpr std::uintptr_t kIconHandleBase = 0x10000;

}  // namespace

void HeadlessLabel::MoveMouse(float x, float y) {
  Raise(onMouseMove, 0, 0, x, y);
}

void HeadlessLabel::ReleaseMouse(int button, float x, float y) {
  Raise(onMouseUp, button, 0, x, y);
}

void HeadlessButton::Click() {
  if (enabled) Raise(onClick);
}

void HeadlessCheckBox::SetValue(int newValue) {
  if (newValue == value) return;
  value = newValue;
  Raise(onClick);
}

void HeadlessCheckBox::Click() {
  SetValue(value == app::kChecked ? app::kUnchecked : app::kChecked);
}

void HeadlessOptionButton::Click() {
  if (group != nullptr) {
    for (HeadlessOptionButton* other : *group) other->selected = false;
  }
  selected = true;
  Raise(onClick);
}

void HeadlessCheckedList::SetSelected(int index, bool checked) {
  Item& item = items.at(static_cast<std::size_t>(index));
  if (item.checked == checked) return;
  item.checked = checked;
  Raise(onItemCheck, index);
}

void HeadlessCheckedList::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) {
    throw std::out_of_range("ListIndex " + std::to_string(index) + " of " +
                            std::to_string(ListCount()) + " entries");
  }
  listIndex = index;
}

void HeadlessCheckedList::AddItem(const std::string& text) {
  items.push_back({text, false});
}

void HeadlessCheckedList::RemoveItem(int index) {
  At(index);
  items.erase(items.begin() + index);
  if (listIndex == index) {
    listIndex = -1;
  } else if (listIndex > index) {
    --listIndex;
  }
}

void HeadlessCheckedList::Clear() {
  items.clear();
  listIndex = -1;
}

void HeadlessCheckedList::DoubleClick(int index) {
  SetListIndex(index);
  Raise(onDblClick);
}

const HeadlessCheckedList::Item& HeadlessCheckedList::At(int index) const {
  return items.at(static_cast<std::size_t>(index));
}

std::uintptr_t HeadlessTrayHost::PictureHandle() const {
  return picture == 0 ? 0 : kIconHandleBase + static_cast<std::uintptr_t>(picture);
}

void HeadlessTrayHost::Notify(int message) {
  Raise(onMouseMove, 0, 0, static_cast<float>(message * twipsPerPixel), 0.0F);
}

void HeadlessTimer::Tick() {
  if (enabled) Raise(onTick);
}

void HeadlessMenuEntry::Click() {
  Raise(onClick);
}

}  // namespace vekhor::fakes
