// How a run starts and ends: /close, close requests, Exit, a second instance, hourly runs.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "support/headless_program.h"

namespace vekhor {
namespace {

using app::ControlId;

TEST(CommandLine, CloseModeIsAnyPieceBetweenSlashesStartingWithClose) {
  for (const char* yes :
       {"/close", "/CLOSE", "/Closed", "/closenow", "close", "x/close", "/a//close"})
    EXPECT_TRUE(app::AsksForCloseMode(yes)) << yes;
  for (const char* no : {"", "/ close", "-close", "/clos", "/x close"})
    EXPECT_FALSE(app::AsksForCloseMode(no)) << no;
}

constexpr int kCloseBox = 0;

// The Exit button: FrmMainStart in frm_main_test.cpp.
TEST(CloseRequest, TheCloseBoxHidesTheWindowBehindATrayIconAndTheTrayMenusExitEndsEither) {
  for (const bool closeBoxFirst : {true, false}) {
    SCOPED_TRACE(closeBoxFirst);
    test::HeadlessProgram program;
    program.window.Form_Load();
    if (closeBoxFirst) {
      EXPECT_FALSE(program.form.Close(kCloseBox));
      EXPECT_FALSE(program.form.visible);
      EXPECT_FALSE(program.form.unloaded);
      EXPECT_TRUE(program.notifyIcon.iconShown) << "a hidden program must stay reachable";
    }
    program.form.menuEntry(ControlId::mnuExit).Click();
    EXPECT_TRUE(program.form.unloaded);
    EXPECT_FALSE(program.notifyIcon.iconShown);
    EXPECT_EQ(program.Setting("SysTray"), "0");
    EXPECT_EQ(program.Setting("Interval"), "0");
  }
  // Without a notification area nothing could bring a hidden window back.
  test::HeadlessProgram program;
  program.notifyIcon.taskbarRunning = false;
  program.window.Form_Load();
  EXPECT_TRUE(program.form.Close(kCloseBox));
  EXPECT_TRUE(program.form.unloaded);
}

// A second instance never loaded its boxes: it must not store their clear states.
TEST(SecondInstance, EndsAtOnceAndLeavesTheStoredSettingsAsTheyWere) {
  test::HeadlessProgram program;
  program.toolkit.prevInstance = true;
  program.window.settings.SaveSetting("Vektal", "Horolan", "SysTray", "1");
  program.window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  program.window.Form_Load();
  EXPECT_TRUE(program.form.unloaded);
  EXPECT_FALSE(program.form.visible);
  EXPECT_EQ(program.Setting("SysTray"), "1");
  EXPECT_EQ(program.Setting("Interval"), "1");
  EXPECT_TRUE(program.notifyIcon.requests.empty());
}

// Every run shows how it ended in the status line: its changes count the runs.
int Runs(test::HeadlessProgram& program) {
  return program.form.label(ControlId::lblStatus).changes;
}

TEST(HourlyOption, ActivationAndEverySixtiethTickRunOnlyWhileTheBoxIsChecked) {
  test::HeadlessProgram program;
  program.window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  program.window.Form_Load();
  program.form.Activate();
  EXPECT_EQ(Runs(program), 1) << "an activation with the hourly option on runs at once";
  EXPECT_TRUE(program.form.button(ControlId::cmdSync).enabled);
  auto& timer = program.form.timer(ControlId::Timer1);
  auto& hourly = program.form.checkBox(ControlId::chkSync);
  for (int tick = 0; tick < 30; ++tick) timer.Tick();
  hourly.Click();  // off: no ticks, and the count so far is kept
  timer.Tick();
  hourly.Click();
  for (int tick = 0; tick < 29; ++tick) timer.Tick();
  EXPECT_EQ(Runs(program), 1);
  timer.Tick();  // the sixtieth tick while on
  EXPECT_EQ(Runs(program), 2);
  hourly.Click();
  program.form.Activate();
  EXPECT_EQ(Runs(program), 2) << "no run at activation with the hourly option off";
}

// A double-click while a walk waits in DoEvents runs beside it; both close every socket.
TEST(NestedRuns, ADoubleClickDuringAWalkRunsBesideItAndBothCleanUp) {
  test::HeadlessProgram program;
  program.window.Form_Load();
  auto& list = program.form.checkedList(ControlId::lstServer);
  program.sockets.AddHost(program.sockets.hostName, {"10.0.0.5"});  // the local address
  program.sockets.AddHost(list.items[0].text, {"127.0.0.9"});
  program.toolkit.pending.push_back([&] { list.DoubleClick(0); });
  program.form.button(ControlId::cmdSync).Click();
  EXPECT_EQ(Runs(program), 2) << "the inner run and the walk each end with a status";
  EXPECT_GT(program.sockets.connects, 0);
  EXPECT_TRUE(program.sockets.open.empty());
  EXPECT_EQ(program.sockets.StartupCount(), 0);
  EXPECT_TRUE(program.form.button(ControlId::cmdSync).enabled);
}

}  // namespace
}  // namespace vekhor
