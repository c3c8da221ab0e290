#include "fakes/headless_form.h"

#include <stdexcept>

namespace vekhor::fakes {
namespace {

using app::ControlKind;

// The tray host's own window, apart from the main window's.
constexpr platform::WindowHandle kTrayHostHandle = 0x5678;

template <class Control>
concept OnAPage = requires(Control& control) {
  control.page;
};

}  // namespace

HeadlessForm::HeadlessForm() {
  for (const app::ControlLayout& layout : app::MainWindowLayout()) Make(layout);
  // A second pass: the table need not list a page before the controls on it.
  for (const app::ControlLayout& layout : app::MainWindowLayout()) {
    auto* page = std::get_if<HeadlessFrame>(&objects_[static_cast<std::size_t>(layout.container)]);
    if (page == nullptr) continue;
    std::visit(
        [page](auto& control) {
          if constexpr (OnAPage<decltype(control)>) control.page = page;
        },
        objects_[static_cast<std::size_t>(layout.id)]);
  }
}

void HeadlessForm::Make(const app::ControlLayout& layout) {
  Object& object = objects_[static_cast<std::size_t>(layout.id)];
  const std::string fixedCaption(layout.caption);
  const auto placed = [&]<class Control>(Control& control) -> Control& {
    control.rect = layout.rect;
    control.focusRecord = &focused;
    return control;
  };
  switch (layout.kind) {
    case ControlKind::Window:
      caption = fixedCaption;
      break;
    case ControlKind::OptionButton: {
      auto& option = placed(object.emplace<HeadlessOptionButton>());
      option.caption = fixedCaption;
      option.selected = layout.index == 0;
      option.group = &optionGroup_;
      optionGroup_.push_back(&option);
      break;
    }
    case ControlKind::Frame:
      placed(object.emplace<HeadlessFrame>());
      break;
    case ControlKind::Button:
      placed(object.emplace<HeadlessButton>()).caption = fixedCaption;
      break;
    case ControlKind::Label: {
      auto& label = placed(object.emplace<HeadlessLabel>());
      label.caption = fixedCaption;
      label.foreColor = layout.foreColor;
      label.backColor = layout.backColor;
      break;
    }
    case ControlKind::CheckBox:
      placed(object.emplace<HeadlessCheckBox>()).caption = fixedCaption;
      break;
    case ControlKind::TextField:
      placed(object.emplace<HeadlessTextField>()).text = fixedCaption;
      break;
    case ControlKind::CheckedList:
      placed(object.emplace<HeadlessCheckedList>());
      break;
    case ControlKind::PictureBox:
      placed(object.emplace<HeadlessPictureBox>());
      break;
    case ControlKind::TrayHost: {
      auto& host = placed(object.emplace<HeadlessTrayHost>());
      host.visible = false;
      host.handle = kTrayHostHandle;
      break;
    }
    case ControlKind::Timer:
      object.emplace<HeadlessTimer>();
      break;
    case ControlKind::PopupMenu:
      object.emplace<HeadlessPopupMenu>();
      break;
    case ControlKind::MenuEntry:
      object.emplace<HeadlessMenuEntry>().caption = fixedCaption;
      break;
  }
}

void HeadlessForm::Mismatch(app::ControlId id) {
  throw std::logic_error(std::string(app::LayoutOf(id).name) + " asked for as another kind");
}

void HeadlessForm::AnnounceTaskbar() {
  if (onTaskbarCreated) onTaskbarCreated();
}

void HeadlessForm::Activate() {
  if (onActivate) onActivate();
}

void HeadlessForm::Resize() {
  if (onResize) onResize();
}

void HeadlessForm::MoveMouse(float x, float y) {
  if (onMouseMove) onMouseMove(0, 0, x, y);
}

bool HeadlessForm::Close(int mode) {
  int cancel = 0;
  if (onQueryUnload) onQueryUnload(cancel, mode);
  if (cancel != 0) return false;
  if (onUnload) onUnload(cancel);
  if (cancel != 0) return false;
  unloaded = true;
  visible = false;
  return true;
}

}  // namespace vekhor::fakes
