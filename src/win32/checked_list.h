// The server list: a one-column ListView with a check box in front of each entry, which a
// user's tools read through LVM_GETITEMSTATE like any other.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "win32/child_window.h"

namespace vekhor::win32 {

class CheckedListControl final : public ChildWindow<toolkit::CheckedList> {
 public:
  using ChildWindow::ChildWindow;
  int ListCount() const override;
  std::string List(int index) const override;
  bool Selected(int index) const override;
  void SetSelected(int index, bool checked) override;
  int ListIndex() const override;
  void SetListIndex(int index) override;
  void AddItem(const std::string& text) override;
  void RemoveItem(int index) override;
  void Clear() override;
  void Place() override;
  void UpdateShown() override;

  // LVN_ITEMCHANGED and NM_DBLCLK from the ListView.
  void Notified(const NMHDR& header);

 protected:
  void WindowMade() override;

 private:
  // What the list holds until it has a window; the ListView holds it after.
  struct Entry {
    std::string text;
    bool checked = false;
  };
  void FitColumn();
  void InsertItem(int index, const std::string& text);
  void SetCheckImage(int index, bool checked);
  std::vector<Entry> entries_;
  int listIndex_ = -1;
  LONG columnWidth_ = -1;
  bool redrawing_ = false;
  bool restoring_ = false;
};

}  // namespace vekhor::win32
