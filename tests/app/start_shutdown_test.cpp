// How a run of the program starts and ends: the close-mode switch, the close-request rule, the
// exit commands and a second instance.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "app/frm_main.h"
#include "fakes/fake_notify_icon.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_sockets.h"
#include "fakes/headless_toolkit.h"
#include "platform/memory/memory_registry.h"

namespace vekhor {
namespace {

TEST(CommandLine, CloseModeIsAnyPieceBetweenSlashesStartingWithClose) {
  for (const char* yes :
       {"/close", "/CLOSE", "/Closed", "/closenow", "close", "x/close", "/a//close"})
    EXPECT_TRUE(app::AsksForCloseMode(yes)) << yes;
  for (const char* no : {"", "/ close", "-close", "/clos", "/x close"})
    EXPECT_FALSE(app::AsksForCloseMode(no)) << no;
}

// A program over fakes, with what the test wants set before the load.
struct Program {
  explicit Program(bool anotherRunning = false) { toolkit.prevInstance = anotherRunning; }
  void Load() { window.Form_Load(); }
  std::string Setting(const char* key) {
    return window.settings.GetSetting("Vektal", "Horolan", key, "absent");
  }
  fakes::HeadlessToolkit toolkit;
  fakes::FakeSockets sockets;
  fakes::FakeIcmp icmp;
  fakes::FakeConnectivity connectivity;
  fakes::RecordingClock clock;
  platform::MemoryRegistry registry;
  fakes::RecordingShell shell;
  fakes::FakeNotifyIcon notifyIcon;
  platform::Platform platform{sockets, icmp, connectivity, clock, registry, shell, notifyIcon};
  app::frmMain window{toolkit, platform};
  fakes::HeadlessForm& form = toolkit.form;
};

constexpr int kCloseBox = 0;

TEST(CloseRequest, TheCloseBoxHidesTheWindowBehindATrayIconAndTheProgramRunsOn) {
  Program program;
  program.Load();
  ASSERT_TRUE(program.form.visible);
  EXPECT_FALSE(program.form.Close(kCloseBox));
  EXPECT_FALSE(program.form.visible);
  EXPECT_FALSE(program.form.unloaded);
  EXPECT_TRUE(program.notifyIcon.iconShown) << "a hidden program must stay reachable";
  // The icon's menu: Exit ends the program even while the window is hidden.
  program.form.menuEntry(app::ControlId::mnuExit).Click();
  EXPECT_TRUE(program.form.unloaded);
  EXPECT_FALSE(program.notifyIcon.iconShown);
  EXPECT_EQ(program.Setting("SysTray"), "0");
  EXPECT_EQ(program.Setting("Interval"), "0");
}

TEST(CloseRequest, WithoutANotificationAreaTheCloseBoxEndsTheProgram) {
  Program program;
  program.notifyIcon.taskbarRunning = false;
  program.Load();
  EXPECT_TRUE(program.form.Close(kCloseBox));
  EXPECT_TRUE(program.form.unloaded);
}

TEST(CloseRequest, TheExitButtonAndTheTrayMenusExitEndAShownWindow) {
  for (const bool fromMenu : {false, true}) {
    Program program;
    program.Load();
    if (fromMenu) {
      program.form.menuEntry(app::ControlId::mnuExit).Click();
    } else {
      program.form.button(app::ControlId::cmdExit).Click();
    }
    EXPECT_TRUE(program.form.unloaded) << (fromMenu ? "menu" : "button");
    EXPECT_EQ(program.Setting("SysTray"), "0");
  }
}

// The second instance never loaded its boxes: it must not store their clear states over the
// running instance's settings.
TEST(SecondInstance, EndsAtOnceAndLeavesTheStoredSettingsAsTheyWere) {
  Program program(true);
  program.window.settings.SaveSetting("Vektal", "Horolan", "SysTray", "1");
  program.window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  program.Load();
  EXPECT_TRUE(program.form.unloaded);
  EXPECT_FALSE(program.form.visible);
  EXPECT_EQ(program.Setting("SysTray"), "1");
  EXPECT_EQ(program.Setting("Interval"), "1");
  EXPECT_TRUE(program.notifyIcon.requests.empty());
}

}  // namespace
}  // namespace vekhor
