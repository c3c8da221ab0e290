#include "win32/checked_list.h"

namespace vekhor::win32 {
namespace {

constexpr UINT kUncheckedImage = 1;  // state image 0 is "no check box yet"
constexpr UINT kCheckedImage = 2;

UINT StateImage(UINT state) {
  return (state & LVIS_STATEIMAGEMASK) >> 12;
}

}  // namespace

// The entries held so far go into the ListView, which raises no check events for them: their
// marks are the list's already.
void CheckedListControl::WindowMade() {
  ApplyDpi();
  ::SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ::SendMessageW(window_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  redrawing_ = false;
  restoring_ = true;
  for (std::size_t index = 0; index < entries_.size(); ++index) {
    InsertItem(static_cast<int>(index), entries_[index].text);
    if (entries_[index].checked) SetCheckImage(static_cast<int>(index), true);
  }
  restoring_ = false;
  entries_.clear();
  SetListIndex(listIndex_);
  UpdateShown();
}

int CheckedListControl::ListCount() const {
  if (window_ == nullptr) return static_cast<int>(entries_.size());
  return static_cast<int>(::SendMessageW(window_, LVM_GETITEMCOUNT, 0, 0));
}

std::string CheckedListControl::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  if (window_ == nullptr) return entries_[static_cast<std::size_t>(index)].text;
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
  if (window_ == nullptr) return entries_[static_cast<std::size_t>(index)].checked;
  const auto state = static_cast<UINT>(
      ::SendMessageW(window_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
  return StateImage(state) == kCheckedImage;
}

// A change raises the check event, as the ListView's notification does once there is one.
void CheckedListControl::SetSelected(int index, bool checked) {
  if (index < 0 || index >= ListCount()) return;
  if (window_ != nullptr) {
    SetCheckImage(index, checked);
    return;
  }
  Entry& entry = entries_[static_cast<std::size_t>(index)];
  if (entry.checked == checked) return;
  entry.checked = checked;
  if (onItemCheck) onItemCheck(index);
}

void CheckedListControl::SetCheckImage(int index, bool checked) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage);
  ::SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

int CheckedListControl::ListIndex() const {
  if (window_ == nullptr) return listIndex_;
  return static_cast<int>(
      ::SendMessageW(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CheckedListControl::SetListIndex(int index) {
  if (window_ == nullptr) {
    listIndex_ = index >= 0 && index < ListCount() ? index : -1;
    return;
  }
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
  if (window_ == nullptr) {
    entries_.push_back({text});
    return;
  }
  InsertItem(ListCount(), text);
  FitColumn();
}

void CheckedListControl::InsertItem(int index, const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(window_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// As in the ListView, the current entry goes with its entry, and those after it move up.
void CheckedListControl::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  if (window_ == nullptr) {
    entries_.erase(entries_.begin() + index);
    if (listIndex_ == index) listIndex_ = -1;
    if (listIndex_ > index) --listIndex_;
    return;
  }
  ::SendMessageW(window_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  FitColumn();
}

void CheckedListControl::Clear() {
  if (window_ == nullptr) {
    entries_.clear();
    listIndex_ = -1;
    return;
  }
  ::SendMessageW(window_, LVM_DELETEALLITEMS, 0, 0);
  FitColumn();
}

// Out of sight (on a hidden page, or in a window not yet shown) the list neither draws nor lays
// itself out: a start fills it before the window shows, and under Wine every entry would cost a
// millisecond of layout otherwise. Shown, it catches up at once.
void CheckedListControl::UpdateShown() {
  ChildWindow::UpdateShown();
  if (window_ == nullptr) return;
  const bool shown = ::IsWindowVisible(window_) != FALSE;
  if (shown == redrawing_) return;
  redrawing_ = shown;
  ::SendMessageW(window_, WM_SETREDRAW, shown ? TRUE : FALSE, 0);
  if (!shown) return;
  FitColumn();
  ::InvalidateRect(window_, nullptr, TRUE);
}

void CheckedListControl::Place() {
  if (window_ == nullptr) return;
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
  if (header.code != LVN_ITEMCHANGED || restoring_) return;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if ((change.uChanged & LVIF_STATE) == 0) return;
  const UINT before = StateImage(change.uOldState);
  const UINT after = StateImage(change.uNewState);
  // A new entry getting its first (clear) box is no check change.
  if (before == 0 || before == after || change.iItem < 0) return;
  if (onItemCheck) onItemCheck(change.iItem);
}

}  // namespace vekhor::win32
