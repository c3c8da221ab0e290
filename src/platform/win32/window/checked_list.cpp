#include "platform/win32/window/checked_list.h"

namespace vekhor::platform::window {
namespace {

constexpr UINT kUncheckedImage = 1;  // state image 0 is "no check box yet"
constexpr UINT kCheckedImage = 2;

UINT StateImage(UINT state) {
  return (state & LVIS_STATEIMAGEMASK) >> 12;
}

}  // namespace

CheckedListControl::CheckedListControl(WindowContext& context, const app::ControlLayout& layout,
                                       PageFrame* container, HWND window)
    : ChildWindow(context, layout, container, window) {
  ::SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ::SendMessageW(window_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);  // made hidden
}

int CheckedListControl::ListCount() const {
  return static_cast<int>(::SendMessageW(window_, LVM_GETITEMCOUNT, 0, 0));
}

std::string CheckedListControl::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  // Host names have no length limit: grow the buffer until the text fits.
  for (std::size_t size = 256;; size *= 4) {
    std::string text(size, '\0');
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    const auto length = static_cast<std::size_t>(::SendMessageA(
        window_, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < size) {
      text.resize(length);
      return text;
    }
  }
}

bool CheckedListControl::Selected(int index) const {
  if (index < 0 || index >= ListCount()) return false;
  const auto state = static_cast<UINT>(
      ::SendMessageW(window_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
  return StateImage(state) == kCheckedImage;
}

void CheckedListControl::SetSelected(int index, bool checked) {
  if (index < 0 || index >= ListCount()) return;
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage);
  ::SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

int CheckedListControl::ListIndex() const {
  return static_cast<int>(
      ::SendMessageW(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CheckedListControl::SetListIndex(int index) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  ::SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
  if (index < 0 || index >= ListCount()) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(window_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void CheckedListControl::AddItem(const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListCount();
  item.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(window_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  FitColumn();
}

void CheckedListControl::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  ::SendMessageW(window_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  FitColumn();
}

void CheckedListControl::Clear() {
  ::SendMessageW(window_, LVM_DELETEALLITEMS, 0, 0);
  FitColumn();
}

// Out of sight (on a hidden page, or in a window not yet shown) the list neither draws nor lays
// itself out: a start fills it before the window shows, and under Wine every entry would cost a
// millisecond of layout otherwise. Shown, it catches up at once.
void CheckedListControl::UpdateShown() {
  ChildWindow::UpdateShown();
  const bool shown = ::IsWindowVisible(window_) != FALSE;
  if (shown == redrawing_) return;
  redrawing_ = shown;
  ::SendMessageW(window_, WM_SETREDRAW, shown ? TRUE : FALSE, 0);
  if (!shown) return;
  FitColumn();
  ::InvalidateRect(window_, nullptr, TRUE);
}

void CheckedListControl::Place() {
  ChildWindow::Place();
  FitColumn();
}

// The one column fills the list's width, beside a vertical scroll bar when the entries need one:
// the client area's width, which leaves the bar out. (LVSCW_AUTOSIZE_USEHEADER gives the same
// but measures every entry, at every entry added.)
void CheckedListControl::FitColumn() {
  RECT client{};
  ::GetClientRect(window_, &client);
  if (client.right == columnWidth_) return;
  columnWidth_ = client.right;
  ::SendMessageW(window_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right, 0));
}

void CheckedListControl::Notified(const NMHDR& header) {
  if (header.code == NM_DBLCLK) {
    if (onDblClick) onDblClick();
    return;
  }
  if (header.code != LVN_ITEMCHANGED) return;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if ((change.uChanged & LVIF_STATE) == 0) return;
  const UINT before = StateImage(change.uOldState);
  const UINT after = StateImage(change.uNewState);
  // A new entry getting its first (clear) box is no check change.
  if (before == 0 || before == after || change.iItem < 0) return;
  if (onItemCheck) onItemCheck(change.iItem);
}

}  // namespace vekhor::platform::window
