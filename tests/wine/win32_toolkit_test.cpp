// The Win32 toolkit in this process, against the real controls: events raised from code and from
// clicks, and the status line's wrap. The program tests cover DoEvents and closing.
#include "win32/win32_toolkit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vekhor::win32 {
namespace {

using toolkit::ControlId;

struct Win32ToolkitTest : ::testing::Test {
  Win32Toolkit toolkit{::GetModuleHandleW(nullptr)};
  toolkit::Form& form = toolkit.MainForm();
  HWND Window() const { return reinterpret_cast<HWND>(form.Handle()); }
  HWND Child(ControlId id) const {
    return ::GetDlgItem(Window(), toolkit::kFirstControlId + static_cast<int>(id));
  }
  void SetUp() override { ASSERT_TRUE(toolkit.WindowCreated()) << "no display"; }
};

// The program test drives the list end to end; these are what it cannot see.
TEST_F(Win32ToolkitTest, ControlsRaiseTheirEventsOnlyForChanges) {
  toolkit::CheckBox& box = form.checkBox(ControlId::chkSync);
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.SetValue(toolkit::kChecked);
  box.SetValue(toolkit::kChecked);  // no change, no click
  EXPECT_EQ(clicks, 1);
  form.frame(ControlId::Frame1_1).SetVisible(true);
  EXPECT_EQ(::SendMessageW(Child(ControlId::chkSync), BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageW(Child(ControlId::chkSync), BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), toolkit::kUnchecked);
  EXPECT_EQ(clicks, 2);

  toolkit::CheckedList& list = form.checkedList(ControlId::lstServer);
  std::vector<int> checked;
  list.onItemCheck = [&](int index) { checked.push_back(index); };
  const std::string longName(1000, 'h');
  list.AddItem("a.example");
  list.AddItem(longName);
  list.SetSelected(1, true);
  list.SetSelected(1, true);
  EXPECT_EQ(checked, std::vector<int>{1}) << "a new entry's box is no check, nor an unchanged one";
  EXPECT_EQ(list.List(1), longName);
  EXPECT_FALSE(list.Selected(7));  // out of range reads as unchecked
  form.frame(ControlId::Frame1_2).SetVisible(true);
  list.SetSelected(0, true);
  EXPECT_EQ(checked, (std::vector<int>{1, 0})) << "the shown list raises them as before";
}

// A page's controls get their windows when the page first shows: what the program told them
// until then is what their windows show, in the tab order of the layout.
TEST_F(Win32ToolkitTest, AHiddenPagesControlsShowWhatTheyWereToldBeforeTheirWindowsExisted) {
  ASSERT_EQ(Child(ControlId::lstServer), nullptr) << "made before its page showed";
  toolkit::CheckedList& list = form.checkedList(ControlId::lstServer);
  std::vector<int> checked;
  list.onItemCheck = [&](int index) { checked.push_back(index); };
  for (const char* name : {"a.example", "b.example", "c.example"}) list.AddItem(name);
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  list.RemoveItem(0);
  list.SetListIndex(1);
  EXPECT_EQ(checked, (std::vector<int>{0, 2}));
  form.textField(ControlId::txtServer).SetText("typed.example");
  form.button(ControlId::cmdAdd).SetCaption("Add");
  form.button(ControlId::cmdRemove).SetEnabled(false);
  form.checkBox(ControlId::chkLog).SetValue(toolkit::kChecked);

  form.frame(ControlId::Frame1_2).SetVisible(true);
  const HWND shownList = Child(ControlId::lstServer);
  ASSERT_NE(shownList, nullptr);
  EXPECT_EQ(::SendMessageW(shownList, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(list.List(0), "b.example");
  EXPECT_FALSE(list.Selected(0));
  EXPECT_TRUE(list.Selected(1));
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(checked, (std::vector<int>{0, 2})) << "restoring the marks is no check";
  char text[64] = {};
  ::GetWindowTextA(Child(ControlId::txtServer), text, sizeof(text));
  EXPECT_STREQ(text, "typed.example");
  ::GetWindowTextA(Child(ControlId::cmdAdd), text, sizeof(text));
  EXPECT_STREQ(text, "Add");
  EXPECT_FALSE(::IsWindowEnabled(Child(ControlId::cmdRemove)));

  form.frame(ControlId::Frame1_1).SetVisible(true);
  EXPECT_EQ(::SendMessageW(Child(ControlId::chkLog), BM_GETCHECK, 0, 0), BST_CHECKED);
  // Made late, they still take their places in the tab order.
  HWND previous = nullptr;
  for (const toolkit::ControlLayout& layout : toolkit::MainWindowLayout()) {
    const HWND child = Child(layout.id);
    if (child == nullptr || ::GetParent(child) != Window()) continue;
    if (previous != nullptr) {
      EXPECT_EQ(::GetWindow(previous, GW_HWNDNEXT), child) << layout.name << " out of order";
    }
    previous = child;
  }
}

TEST_F(Win32ToolkitTest, AStatusLineWiderThanItsLabelWrapsWithinItsPage) {
  toolkit::Label& status = form.label(ControlId::lblStatus);
  const auto bounds = [&] {
    RECT rect{};
    ::GetWindowRect(Child(ControlId::lblStatus), &rect);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  status.SetCaption("OK");
  const RECT one = bounds();
  status.SetCaption("Klockan blev synkroniserad 2026-12-07 15:04:05, Klockan blev synkroniserad");
  const RECT wrapped = bounds();
  EXPECT_GT(wrapped.bottom - wrapped.top, one.bottom - one.top);
  const int dpi = WindowDpi(Window());
  EXPECT_LE(wrapped.bottom, TwipsToPixels(toolkit::kPageRect.top + toolkit::kPageRect.height, dpi));
  status.SetCaption("OK");
  EXPECT_EQ(bounds().bottom - bounds().top, one.bottom - one.top);
}

}  // namespace
}  // namespace vekhor::win32
