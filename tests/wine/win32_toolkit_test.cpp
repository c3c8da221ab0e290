// The Win32 toolkit in this process, against the real controls: events raised from code and from
// clicks, and the status line's wrap. The program tests cover DoEvents and closing.
#include "platform/win32/window/win32_toolkit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vekhor::platform::window {
namespace {

using app::ControlId;

struct Win32ToolkitTest : ::testing::Test {
  Win32Toolkit toolkit{::GetModuleHandleW(nullptr)};
  app::Form& form = toolkit.MainForm();
  HWND Child(ControlId id) const {
    return ::GetDlgItem(reinterpret_cast<HWND>(form.Handle()),
                        app::kFirstControlId + static_cast<int>(id));
  }
  void SetUp() override { ASSERT_TRUE(toolkit.WindowCreated()) << "no display"; }
};

TEST_F(Win32ToolkitTest, ControlsRaiseTheirEventsForCodeAndForClicks) {
  app::CheckBox& box = form.checkBox(ControlId::chkSync);
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.SetValue(app::kChecked);
  box.SetValue(app::kChecked);  // no change, no click
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(::SendMessageW(Child(ControlId::chkSync), BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageW(Child(ControlId::chkSync), BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), app::kUnchecked);
  EXPECT_EQ(clicks, 2);

  app::CheckedList& list = form.checkedList(ControlId::lstServer);
  std::vector<int> checked;
  list.onItemCheck = [&](int index) { checked.push_back(index); };
  const std::string longName(1000, 'h');
  list.AddItem("a.example");
  list.AddItem(longName);
  EXPECT_TRUE(checked.empty()) << "a new entry's box is no check";
  list.SetSelected(1, true);
  list.SetSelected(1, true);
  EXPECT_EQ(checked, std::vector<int>{1});
  const auto state =
      ::SendMessageW(Child(ControlId::lstServer), LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK);
  EXPECT_EQ(state >> 12, 2) << "checked, as a user's tools read it";
  EXPECT_EQ(list.List(1), longName);
  EXPECT_FALSE(list.Selected(0));
  EXPECT_FALSE(list.Selected(7));  // out of range reads as unchecked
  list.RemoveItem(0);
  EXPECT_EQ(list.ListCount(), 1);
  EXPECT_TRUE(list.Selected(0));
}

TEST_F(Win32ToolkitTest, AStatusLineWiderThanItsLabelWrapsWithinItsPage) {
  app::Label& status = form.label(ControlId::lblStatus);
  const auto height = [&] {
    RECT rect{};
    ::GetWindowRect(Child(ControlId::lblStatus), &rect);
    return rect.bottom - rect.top;
  };
  status.SetCaption("OK");
  const LONG oneLine = height();
  status.SetCaption("Klockan blev synkroniserad 2026-12-07 15:04:05, Klockan blev synkroniserad");
  EXPECT_GT(height(), oneLine);
  RECT label{}, client{};
  ::GetWindowRect(Child(ControlId::lblStatus), &label);
  ::MapWindowPoints(nullptr, reinterpret_cast<HWND>(form.Handle()),
                    reinterpret_cast<POINT*>(&label), 2);
  ::GetClientRect(reinterpret_cast<HWND>(form.Handle()), &client);
  const int dpi = WindowDpi(reinterpret_cast<HWND>(form.Handle()));
  EXPECT_LE(label.bottom, TwipsToPixels(app::kPageRect.top + app::kPageRect.height, dpi));
  status.SetCaption("OK");
  EXPECT_EQ(height(), oneLine);
}

}  // namespace
}  // namespace vekhor::platform::window
