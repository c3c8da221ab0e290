#include "fakes/headless_toolkit.h"

#include <type_traits>

namespace vekhor::fakes {
namespace {

template <class Object, std::size_t... Kinds>
void Emplace(Object& object, app::ControlKind kind, std::index_sequence<Kinds...>) {
  ((static_cast<std::size_t>(kind) == Kinds ? (void)object.template emplace<Kinds>() : void()),
   ...);
}

}  // namespace

// Each entry gets the control of its kind, which it then sets up; std::monostate is the window.
HeadlessForm::HeadlessForm() {
  for (const app::ControlLayout& layout : app::MainWindowLayout()) {
    Object& object = objects_[static_cast<std::size_t>(layout.id)];
    Emplace(object, layout.kind, std::make_index_sequence<std::variant_size_v<Object>>());
    const auto setUp = [&](auto& control) {
      const std::string fixedCaption(layout.caption);
      if constexpr (std::is_same_v<decltype(control), std::monostate&>) caption = fixedCaption;
      if constexpr (requires { control.rect; }) control.rect = layout.rect;
      if constexpr (requires { control.caption; }) control.caption = fixedCaption;
      if constexpr (requires { control.text; }) control.text = fixedCaption;
      if constexpr (requires { control.foreColor; }) control.foreColor = layout.foreColor;
    };
    std::visit(setUp, object);
  }
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
