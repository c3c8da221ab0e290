// The tray icon against a recorded notification area, on the headless window.
#include "app/tray.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_notify_icon.h"
#include "fakes/headless_form.h"

namespace vekhor {
namespace {

using app::ControlId;

struct TrayIcon : ::testing::Test {
  TrayIcon() {
    host.onMouseMove = [this](int, int, float x, float) {
      app::TrayIconMouseMove(host, x, form, menu);
    };
  }

  std::string Tip(std::size_t index) const {
    const auto& tip = shell.requests.at(index).data.szTip;
    return std::string(tip.begin(), tip.end());
  }

  fakes::FakeNotifyIcon shell;
  app::SysTray tray{shell};
  fakes::HeadlessForm form;
  fakes::HeadlessTrayHost& host = form.trayHost(ControlId::TrayIcon);
  fakes::HeadlessPopupMenu& menu = form.popupMenu(ControlId::mnuSysTray);
};

TEST_F(TrayIcon, TheAddAsksForTheHostsWindowAndPictureWithTheTitleAndDateAsTip) {
  ASSERT_TRUE(tray.AddTrayIcon(host, "Vektal Horolan", "2004-04-10"));
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].message, 0);
  const platform::TrayIconData& data = shell.requests[0].data;
  EXPECT_EQ(data.cbSize, 88u);
  EXPECT_EQ(data.hWnd, host.handle);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uFlags, 7u);
  EXPECT_EQ(data.uCallbackMessage, 0x200u);
  EXPECT_EQ(host.picture, 101);
  EXPECT_EQ(data.hIcon, host.PictureHandle());
  EXPECT_EQ(Tip(0), "Vektal Horolan 2004-04-10" + std::string(1, '\0') + std::string(38, ' '));

  // A tip too long for the field keeps its NUL in the field's last character.
  tray.RemoveTrayIcon();
  tray.AddTrayIcon(host, "Vektal Horolan", std::string(60, 'd'));
  EXPECT_EQ(Tip(2), "Vektal Horolan " + std::string(48, 'd') + std::string(1, '\0'));
}

TEST_F(TrayIcon, OnlyALeftDoubleClickAndARightReleaseOnTheIconActAtAnyPixelSize) {
  for (const int twipsPerPixel : {15, 10}) {
    SCOPED_TRACE(twipsPerPixel);
    host.twipsPerPixel = twipsPerPixel;
    for (int message = 0x200; message <= 0x209; ++message) {
      form.visible = false;
      menu.popups = 0;
      host.Notify(message);
      EXPECT_EQ(form.visible, message == 0x203) << std::hex << message;
      EXPECT_EQ(menu.popups, message == 0x205 ? 1 : 0) << std::hex << message;
    }
    // A position that came through pixels with a rounding error still names its message.
    menu.popups = 0;
    host.onMouseMove(0, 0, static_cast<float>(0x205 * twipsPerPixel) - 1.5F, 0);
    EXPECT_EQ(menu.popups, 1);
  }
}

TEST_F(TrayIcon, ANewTaskbarGetsTheSameIconAgainUntilTheUnloadRemovesIt) {
  // Nothing asked for: nothing to add again or to remove.
  tray.TaskbarCreated();
  tray.RemoveTrayIcon();
  EXPECT_TRUE(shell.requests.empty());

  tray.AddTrayIcon(host, "Vektal Horolan", "2004-04-10");
  shell.RestartTaskbar();
  tray.TaskbarCreated();
  EXPECT_TRUE(shell.iconShown);
  tray.RemoveTrayIcon();
  EXPECT_FALSE(shell.iconShown);
  tray.TaskbarCreated();
  ASSERT_EQ(shell.requests.size(), 3u);
  EXPECT_EQ(shell.requests[1].message, 0);
  EXPECT_EQ(shell.requests[2].message, 2);
  EXPECT_EQ(shell.requests[1].data, shell.requests[0].data);
  EXPECT_EQ(shell.requests[2].data, shell.requests[0].data);
}

TEST_F(TrayIcon, ATrayStartTheShellRefusesShowsTheWindowAndTheIconFollowsWithTheTaskbar) {
  EXPECT_TRUE(tray.StartInTray(host, form, "Vektal Horolan", "2004-04-10"));
  EXPECT_FALSE(form.visible);
  tray.RemoveTrayIcon();

  shell.taskbarRunning = false;  // a start at logon, before the taskbar
  EXPECT_FALSE(tray.StartInTray(host, form, "Vektal Horolan", "2004-04-10"));
  EXPECT_TRUE(form.visible);
  EXPECT_FALSE(shell.iconShown);
  shell.RestartTaskbar();
  tray.TaskbarCreated();
  EXPECT_TRUE(shell.iconShown);
}

}  // namespace
}  // namespace vekhor
