// The main window on the headless toolkit: loading, runs, the Settings page's boxes, the tray.
#include "app/frm_main.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/command_line.h"
#include "app/settings.h"
#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "fakes/registry_fakes.h"
#include "res/build_date.h"
#include "servers/registry_key.h"
#include "servers/registry_value.h"
#include "support/temp_folder.h"
#include "sync/utc_time.h"

namespace vekhor {
namespace {

// The program over fakes: headless toolkit, every seam faked, the window made but not loaded.
struct HeadlessProgram : fakes::FakeOs<> {
  explicit HeadlessProgram(Language language = Language::English) : toolkit(language) {}
  explicit HeadlessProgram(platform::Registry& stored) : FakeOs(stored) {}
  std::string Setting(const char* key) {
    return window.settings.GetSetting("Vektal", "Horolan", key, "absent");
  }
  // Every run shows how it ended in the status line: its changes count the runs.
  int Runs() { return form.label(toolkit::ControlId::lblStatus).changes; }
  // The first server in the list gives a time from then on, a day after the build.
  void ServeTime() {
    sockets.AddHost(sockets.hostName, {"10.0.0.5"});
    sockets.AddHost(form.checkedList(toolkit::ControlId::lstServer).items.at(0).text,
                    {"127.0.0.9"});
    const auto time = static_cast<std::uint32_t>(kBuildDaySince1900 + 86400);
    sockets.receiveData = {static_cast<char>(time >> 24), static_cast<char>(time >> 16),
                           static_cast<char>(time >> 8), static_cast<char>(time)};
  }
  fakes::HeadlessToolkit toolkit;
  app::frmMain window{toolkit, platform};
  fakes::HeadlessForm& form = toolkit.form;
};

using enum toolkit::ControlId;

struct FrmMain : ::testing::Test, HeadlessProgram {};

constexpr toolkit::ControlId kPages[] = {Frame1_0, Frame1_1, Frame1_2, Frame1_3};

// In Swedish, where a text the window took from elsewhere than its language's catalogue shows.
TEST(FrmMainLoad, ShowsTheFirstPageAndTheCatalogueTextsOfItsLanguage) {
  HeadlessProgram ui(Language::Swedish);
  ui.window.Form_Load();
  const auto text = [](int n) { return std::string(CatalogueText(n, Language::Swedish)); };
  EXPECT_EQ(ui.form.label(lblAbout).caption,
            std::string("Version 1.0.33\r\n") + app::kCopyrightLine);
  EXPECT_EQ(ui.form.button(cmdExit).caption, text(text::kExit));
  EXPECT_EQ(ui.form.checkBox(chkInternetConnection).caption, text(text::kCheckInternet));
  EXPECT_EQ(ui.form.checkedList(lstServer).toolTip, text(text::kDoubleClickToSync));
  const toolkit::ControlId buttons[] = {optSync0, optSync1, optSync2, optSync3};
  const int toolTips[] = {text::kSynchronize, text::kSettings, text::kServers, text::kAbout};
  for (int index = 0; index < toolkit::kPageCount; ++index) {
    const fakes::HeadlessOptionButton& button = ui.form.optionButton(buttons[index]);
    EXPECT_EQ(button.caption, "");
    EXPECT_EQ(button.picture, 102 + index);
    EXPECT_EQ(button.toolTip, text(toolTips[index]));
    EXPECT_EQ(ui.form.frame(kPages[index]).visible, index == 0) << "page " << index;
  }
}

// The link goes dark only when the pointer is over the window's own surface.
TEST_F(FrmMain, TheLinkLightsUpUnderThePointerEveryTime) {
  window.Form_Load();
  fakes::HeadlessLabel& link = form.label(lblURL);
  for (int pass = 0; pass < 2; ++pass) {
    link.MoveMouse(30, 40);
    EXPECT_EQ(link.foreColor, 0x00FFFFu);
    EXPECT_TRUE(link.underline);
    form.MoveMouse(10, 10);
    EXPECT_EQ(link.foreColor, 0x0000FFu);
    EXPECT_FALSE(link.underline);
  }
}

TEST_F(FrmMain, ResizingPutsThePagesBackUnlessTheWindowIsMinimised) {
  window.Form_Load();
  for (const int state : {toolkit::kWindowMinimised, toolkit::kWindowNormal, 2}) {  // 2: maximised
    SCOPED_TRACE(state);
    for (const toolkit::ControlId page : kPages) form.frame(page).rect = {5, 6, 7, 8};
    form.windowState = state;
    form.Resize();
    const auto expected = state == toolkit::kWindowMinimised ? std::make_tuple(5, 6, 7, 8)
                                                             : std::make_tuple(60, 660, 4575, 1515);
    for (const toolkit::ControlId page : kPages) {
      const toolkit::TwipsRect& rect = form.frame(page).rect;
      EXPECT_EQ(std::make_tuple(rect.left, rect.top, rect.width, rect.height), expected);
    }
  }
}

// No "SysTray" stored is a first start: the defaults join the list found, stored at once. Without
// a taskbar the close box keeps the window: hidden, nothing could bring it back.
TEST_F(FrmMain, TheFirstStartAppendsTheDefaultsAndWithoutATaskbarTheCloseBoxKeepsTheWindow) {
  notifyIcon.taskbarRunning = false;
  window.settings.SaveSetting("Vektal", "Horolan\\Servers", "Server1", "mine.example");
  window.settings.SaveSetting("Vektal", "Horolan\\Servers", "ServerChecked1", "0");
  window.Form_Load();
  const auto& items = form.checkedList(lstServer).items;
  ASSERT_EQ(items.size(), 13u);
  EXPECT_EQ(items[0].text, "mine.example");
  EXPECT_FALSE(items[0].checked);
  for (std::size_t n = 1; n < 13; ++n) EXPECT_TRUE(items[n].checked) << items[n].text;
  EXPECT_EQ(window.settings.GetSetting("Vektal", "Horolan\\Servers", "Server13", ""),
            items[12].text);
  EXPECT_EQ(Setting("SysTray"), "0") << "stored with the defaults: the next start is none";
  EXPECT_FALSE(form.Close(toolkit::kUnloadFromControlMenu));
  EXPECT_TRUE(form.visible);
  form.button(cmdExit).Click();
  EXPECT_TRUE(form.unloaded);
  EXPECT_EQ(Setting("SysTray"), "0");
  EXPECT_EQ(Setting("InternetConnection"), "1");
}

// A start in the tray before the taskbar runs: the shell refuses the icon and the window shows.
// Its close box asks for the icon again, and hides the window only once the shell took it.
TEST_F(FrmMain, AnIconRefusedAtATrayStartIsAskedForAgainBeforeTheCloseBoxHidesTheWindow) {
  window.settings.SaveSetting("Vektal", "Horolan", "SysTray", "1");
  notifyIcon.taskbarRunning = false;
  window.Form_Load();
  EXPECT_TRUE(form.visible);
  EXPECT_FALSE(form.Close(toolkit::kUnloadFromControlMenu));
  EXPECT_TRUE(form.visible) << "hidden with no icon to bring it back";
  notifyIcon.taskbarRunning = true;
  EXPECT_FALSE(form.Close(toolkit::kUnloadFromControlMenu));
  EXPECT_FALSE(form.visible);
  EXPECT_TRUE(notifyIcon.iconShown);
}

// A visible window at the session's end: Windows ends the process right after, so the unload runs
// then, and the next start is no first start that appends the defaults once more.
TEST(FrmMainSessionEnd, UnloadsInOrderAndTheNextStartShowsTheSameList) {
  platform::MemoryRegistry stored;
  {
    HeadlessProgram first(stored);
    first.window.Form_Load();
    ASSERT_TRUE(first.form.visible);
    EXPECT_TRUE(first.form.Close(toolkit::kUnloadFromWindows));
    EXPECT_EQ(first.Setting("SysTray"), "0");
  }
  HeadlessProgram next(stored);
  next.window.Form_Load();
  EXPECT_EQ(next.form.checkedList(lstServer).items.size(), 12u);
}

// A scheduled /close, or the window's own request to set the clock as administrator, runs beside
// the instance that holds the window; a plain second start ends at once and stores nothing.
// Close mode beside a running window (a scheduled task's, the shield button's) is its guest: it
// runs from the stored list and writes nothing, so the list is not seeded twice and no box the user
// ticks meanwhile is undone. A first start stores its marker with the defaults, not at its end.
TEST(FrmMainSecondStart, CloseModeBesideARunningWindowWritesNothingAndAPlainStartEndsAtOnce) {
  platform::MemoryRegistry stored;
  HeadlessProgram first(stored);
  first.window.Form_Load();
  EXPECT_EQ(first.Setting("SysTray"), "0");

  fakes::FailingWriteRegistry counting(stored, 0);  // refuses nothing: counts the changes
  HeadlessProgram guest(counting);
  guest.toolkit.prevInstance = true;
  guest.window.CloseAfterSync = true;
  guest.window.Form_Load();
  EXPECT_TRUE(guest.form.unloaded);
  EXPECT_EQ(guest.Runs(), 1);
  EXPECT_EQ(guest.window.lstServer.ListCount(), 12);
  EXPECT_EQ(guest.window.ExitStatus(), 1) << "no server gave the time";
  EXPECT_EQ(counting.changes, 0);
  ServerCollection list;
  ASSERT_TRUE(LoadServers(stored, list));
  EXPECT_EQ(list.size(), 12u);

  HeadlessProgram second(stored);
  second.toolkit.prevInstance = true;
  second.window.Form_Load();
  EXPECT_TRUE(second.form.unloaded);
  EXPECT_EQ(second.Runs(), 0);
}

TEST(CommandLine, CloseModeIsAnyPieceBetweenSlashesStartingWithClose) {
  for (const char* yes :
       {"/close", "/CLOSE", "/Closed", "/closenow", "close", "x/close", "/a//close"})
    EXPECT_TRUE(app::AsksForCloseMode(yes)) << yes;
  for (const char* no : {"", "/ close", "-close", "/clos", "/x close"})
    EXPECT_FALSE(app::AsksForCloseMode(no)) << no;
}

TEST_F(FrmMain, ActivationAndEverySixtiethTickRunOnlyWhileTheHourlyBoxIsChecked) {
  window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  window.Form_Load();
  ServeTime();
  form.Activate();
  EXPECT_EQ(Runs(), 1) << "an activation with the hourly option on runs at once";
  auto& timer = form.timer(Timer1);
  auto& hourly = form.checkBox(chkSync);
  for (int tick = 0; tick < 30; ++tick) timer.Tick();
  hourly.Click();  // off: no ticks, and the count so far is kept
  timer.Tick();
  hourly.Click();
  for (int tick = 0; tick < 29; ++tick) timer.Tick();
  EXPECT_EQ(Runs(), 1);
  timer.Tick();  // the sixtieth tick while on
  EXPECT_EQ(Runs(), 2);
  hourly.Click();
  form.Activate();
  EXPECT_EQ(Runs(), 2) << "no run at activation with the hourly option off";
  // Stored at once; the third value a start can set is not clear, so hourly.
  for (const int value : {toolkit::kChecked, toolkit::kUnchecked, toolkit::kGrayed}) {
    hourly.SetValue(value);
    EXPECT_EQ(Setting("Interval"), std::to_string(value));
    EXPECT_EQ(timer.enabled, value != toolkit::kUnchecked) << value;
  }
}

// With the hourly option on, a run that came by itself and got no time is tried again after 1, 2,
// 4, 8, 16 and 32 minutes, in place of the hour; a time ends that, and the hour counts from it. The
// user's own failed runs change nothing, and unticking the option ends the retries.
TEST_F(FrmMain, ARunThatGetsNoTimeIsTriedAgainAfter1To32MinutesThenHourly) {
  window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  window.Form_Load();
  auto& timer = form.timer(Timer1);
  // Minutes after the failed activation at which the runs come.
  const auto runMinutes = [&](int minutes) {
    std::vector<int> at;
    for (int minute = 1; minute <= minutes; ++minute) {
      const int before = Runs();
      clock.time.Advance(60 * 1000000LL);
      timer.Tick();
      if (Runs() != before) at.push_back(minute);
    }
    return at;
  };
  form.Activate();  // the network is not up yet: no time
  EXPECT_EQ(Runs(), 1);
  // The last retry fails too: the hour again, whose run fails and retries anew.
  EXPECT_EQ(runMinutes(123), (std::vector<int>{1, 3, 7, 15, 31, 63, 123}));
  form.button(cmdSync).Click();  // the user's own failure leaves the retries as they are
  EXPECT_EQ(runMinutes(1), (std::vector<int>{1}));
  ServeTime();
  EXPECT_EQ(runMinutes(2), (std::vector<int>{2}));  // the retry gets the time
  EXPECT_EQ(runMinutes(121), (std::vector<int>{60, 120}));

  sockets.hosts.clear();  // no time again
  form.Activate();
  auto& hourly = form.checkBox(chkSync);
  hourly.Click();
  clock.time.Advance(10 * 60 * 1000000LL);  // off for a while is no sleep
  hourly.Click();                           // on again: no retries wait, the hour goes on
  EXPECT_EQ(runMinutes(59), (std::vector<int>{59}));
}

// After sleep the clock is most wrong: a run follows at the next tick, whether Windows said it
// woke or the ticks show a gap of more than two minutes (Modern Standby may send no message).
// A start in the tray, where no activation comes, runs at once.
TEST_F(FrmMain, AWakeUpOrATrayStartRunsWithTheHourlyOption) {
  window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  window.settings.SaveSetting("Vektal", "Horolan", "SysTray", "1");
  window.settings.SaveSetting("Vektal", "Horolan\\Servers", "Server1", "time.example");
  window.settings.SaveSetting("Vektal", "Horolan\\Servers", "ServerChecked1", "-1");
  notifyIcon.taskbarRunning = false;  // no icon: the window shows, and its activation runs
  window.Form_Load();
  EXPECT_EQ(Runs(), 0);
  form.Activate();
  EXPECT_EQ(Runs(), 1);
  HeadlessProgram tray;
  tray.window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  tray.window.settings.SaveSetting("Vektal", "Horolan", "SysTray", "1");
  tray.window.Form_Load();
  EXPECT_EQ(tray.Runs(), 1) << "the tray start's run";
  ServeTime();
  auto& timer = form.timer(Timer1);
  timer.Tick();  // the retry of the failed start: a time
  EXPECT_EQ(Runs(), 2);
  form.Resume();
  timer.Tick();
  EXPECT_EQ(Runs(), 3);
  clock.time.Advance(150 * 1000000LL);
  timer.Tick();
  EXPECT_EQ(Runs(), 4);
  clock.time.Advance(60 * 1000000LL);
  timer.Tick();
  EXPECT_EQ(Runs(), 4) << "a minute between ticks is no wake-up";
}

// One run at a time: a double-click, or the hourly tick, while a walk waits in DoEvents starts
// nothing, and the button stays disabled until the walk it started ends.
TEST_F(FrmMain, ARunAskedForDuringAWalkIsNotStartedAndTheButtonWaitsForTheWalk) {
  window.settings.SaveSetting("Vektal", "Horolan", "Interval", "1");
  window.Form_Load();
  auto& list = form.checkedList(lstServer);
  sockets.AddHost(sockets.hostName, {"10.0.0.5"});  // the local address
  for (const auto& item : list.items) sockets.AddHost(item.text, {"127.0.0.9"});  // no time
  bool enabledMeanwhile = true;
  toolkit.pending.push_back([&] {
    list.DoubleClick(3);
    form.Activate();  // with the hourly option on, an activation runs at once
    for (int tick = 0; tick < 60; ++tick) form.timer(Timer1).Tick();
    enabledMeanwhile = form.button(cmdSync).enabled;
  });
  form.button(cmdSync).Click();
  EXPECT_EQ(Runs(), 1);
  EXPECT_EQ(icmp.echoes, 12) << "the walk's own, one per server";
  EXPECT_FALSE(enabledMeanwhile);
  EXPECT_TRUE(form.button(cmdSync).enabled);
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);
}

// Windows refused the change for want of the right: the window offers the same run as
// administrator, and says how it went by its exit status. Only a click asks for the consent.
TEST_F(FrmMain, ARefusedChangeOffersARunAsAdministratorThatSaysHowItWent) {
  const test::TempFolder folder;
  toolkit.appPath = folder.path();
  window.settings.SaveSetting("Vektal", "Horolan", "Log", "1");
  window.Form_Load();
  const auto last = [&] {
    std::ifstream in(window.log.LogPath(), std::ios::binary);
    std::string line, previous;
    while (std::getline(in, line)) previous = line;
    return previous.substr(previous.find('\t') + 1, previous.size() - previous.find('\t') - 2);
  };
  ServeTime();
  const auto time = static_cast<std::uint32_t>(kBuildDaySince1900 + 86400);
  clock.setResult = platform::kErrorPrivilegeNotHeld;
  auto& admin = form.button(cmdSyncAdmin);
  EXPECT_FALSE(admin.visible);
  EXPECT_TRUE(admin.shield);
  EXPECT_EQ(admin.caption, "Set the clock as administrator");
  form.button(cmdSync).Click();
  EXPECT_TRUE(admin.visible);
  EXPECT_TRUE(shell.elevatedRuns.empty()) << "consent asked for without a click";

  using Outcome = platform::ElevatedRun::Outcome;
  const struct {
    platform::ElevatedRun run;
    std::string status;
    bool offeredAgain;
  } runs[] = {
      {{Outcome::Cancelled, 0}, std::string(CatalogueText(136, Language::English)), true},
      {{Outcome::Ended, 2}, std::string(CatalogueText(131, Language::English)), true},
      {{Outcome::Ended, 1}, "No time server gave the time.", true},
      {{Outcome::Ended, 0}, "Clock synchronised succesfully " + clock.now, false},
  };
  for (const auto& [run, status, offeredAgain] : runs) {
    SCOPED_TRACE(status);
    shell.elevated = run;
    bool syncEnabledMeanwhile = true;
    shell.duringElevatedRun = [&] { syncEnabledMeanwhile = form.button(cmdSync).enabled; };
    admin.Click();
    // The time the window fetched goes along: the run as administrator asks no server.
    const auto handOver = app::HandOverIn(shell.elevatedRuns.back());
    ASSERT_TRUE(handOver) << shell.elevatedRuns.back();
    EXPECT_TRUE(app::AsksForCloseMode(shell.elevatedRuns.back()));
    EXPECT_EQ(handOver->serverUs / 1000000, time);
    EXPECT_EQ(handOver->atMonotonicUs, clock.time.monotonicUs);
    EXPECT_FALSE(syncEnabledMeanwhile);
    EXPECT_TRUE(form.button(cmdSync).enabled);
    EXPECT_EQ(form.label(lblStatus).caption, status);
    EXPECT_EQ(last(), "As administrator: " + status);
    EXPECT_EQ(admin.visible, offeredAgain);
  }
  // A hand-over kept too long is fetched again before the consent is asked for.
  shell.duringElevatedRun = nullptr;
  clock.time.Advance(app::kHandOverLifetimeUs + 1);
  const int before = Runs();
  admin.Click();
  EXPECT_EQ(Runs(), before + 2) << "a fetch, then the run as administrator";
  EXPECT_EQ(app::HandOverIn(shell.elevatedRuns.back())->atMonotonicUs, clock.time.monotonicUs);
  // Exit while it runs: the wait ends, the run is left to finish, the window goes in order.
  const std::size_t elevated = shell.elevatedRuns.size();
  shell.duringElevatedRun = [&] { window.cmdExit_Click(); };
  admin.Click();
  EXPECT_EQ(shell.elevatedRuns.size(), elevated + 1);
  EXPECT_TRUE(form.unloaded);
  EXPECT_NE(last(), "As administrator: " + std::string(CatalogueText(131, Language::English)));
}

TEST_F(FrmMain, ARunThatSetsTheClockOrFindsNoTimeTakesTheAdministratorOfferAway) {
  window.Form_Load();
  ServeTime();
  auto& admin = form.button(cmdSyncAdmin);
  admin.visible = true;
  form.button(cmdSync).Click();
  EXPECT_FALSE(admin.visible);
}

// The run as administrator sets the handed-over time plus what has elapsed since, to the
// millisecond; a hand-over too old, from another clock or naming no time now is refused.
TEST(AdministratorRun, SetsTheHandedOverTimeAsItIsNowOrRefusesAStaleOne) {
  const std::int64_t buildDay = kBuildDaySince1900;
  const std::int64_t server = (buildDay + 86400) * 1000000 + 123456;
  fakes::RecordingClock clock;
  const app::HandOver fresh{server, clock.time.monotonicUs};
  const auto arguments = app::AdministratorRunArguments(fresh);
  ASSERT_EQ(app::HandOverIn(arguments)->serverUs, server);
  for (const char* unreadable : {"/close", "/close /time:", "/close /time:12", "/close /time:1@x",
                                 "/close /time:@5", "/close /time:1@2@3"})
    EXPECT_FALSE(app::HandOverIn(unreadable)) << unreadable;

  clock.time.Advance(2500);
  EXPECT_EQ(app::SetClockFromHandOver(fresh, clock, buildDay), 0);
  ASSERT_EQ(clock.set.size(), 1u);
  EXPECT_EQ(MicrosecondsOf(clock.set[0]), (server + 2500 + 500) / 1000 * 1000);  // to the ms
  clock.setResult = platform::kErrorPrivilegeNotHeld;
  EXPECT_EQ(app::SetClockFromHandOver(fresh, clock, buildDay), 2);
  const struct {
    const char* why;
    app::HandOver handOver;
  } refused[] = {
      {"too old", {server, clock.time.monotonicUs - app::kHandOverLifetimeUs - 1}},
      {"from a later reading", {server, clock.time.monotonicUs + 1}},
      {"before the build", {(buildDay - 1) * 1000000, clock.time.monotonicUs}},
  };
  for (const auto& [why, handOver] : refused) {
    EXPECT_EQ(app::SetClockFromHandOver(handOver, clock, buildDay), 1) << why;
  }
  EXPECT_EQ(clock.set.size(), 2u);
}

constexpr const char* kRunSubKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunSubKey32 =
    "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr platform::RegistryKey kMachine = platform::kHkeyLocalMachine;
constexpr platform::RegistryKey kUser = platform::kHkeyCurrentUser;
const std::string kInstalled = "\"C:\\Program Files\\Vektal\\Vekhor.exe\"";  // the Run value
constexpr const char* kStartupRecordSubKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The program's value (Run value or Task Manager's record) under a key.
std::optional<std::string> ProgramValue(platform::Registry& registry, platform::RegistryKey root,
                                        const char* subKey) {
  const OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyRead);
  if (!key.IsOpen()) return std::nullopt;
  return ReadStringValue(registry, key.Get(), app::kRunValueName);
}
void PutProgramValue(platform::Registry& registry, platform::RegistryKey root, const char* subKey,
                     std::uint32_t type, const std::string& data) {
  const OwnedKey key = OwnedKey::Create(registry, root, subKey);
  registry.SetValueEx(key.Get(), app::kRunValueName, type, data);
}

// Refuses to open the Run key of the roots in `denied` for writing, or to create it there.
class RunKeysDenied final : public fakes::ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;
  std::set<platform::RegistryKey> denied;

  std::int32_t OpenKeyEx(Key key, const std::string& subKey, std::uint32_t options,
                         std::uint32_t desired, Key& result) override {
    if (denied.contains(key) && subKey == kRunSubKey && (desired & platform::kKeySetValue) != 0) {
      return platform::kErrorAccessDenied;
    }
    return ForwardingRegistry::OpenKeyEx(key, subKey, options, desired, result);
  }
  std::int32_t CreateKey(Key key, const std::string& subKey, Key& result) override {
    if (denied.contains(key) && subKey == kRunSubKey) return platform::kErrorAccessDenied;
    return ForwardingRegistry::CreateKey(key, subKey, result);
  }
};

struct SettingsPage : ::testing::Test {
  SettingsPage() {
    // The machine's Run key exists on every Windows; a fresh profile may lack the user's.
    OwnedKey::Create(memory, kMachine, kRunSubKey);
    program.window.Form_Load();
  }

  std::optional<std::string> RunValue(platform::RegistryKey root) {
    return ProgramValue(memory, root, kRunSubKey);
  }
  void PutRunValue(platform::RegistryKey root, const std::string& data) {
    PutProgramValue(memory, root, kRunSubKey, platform::kRegSz, data);
  }

  platform::MemoryRegistry memory;
  RunKeysDenied registry{memory};
  HeadlessProgram program{registry};
  fakes::HeadlessCheckBox& autostart = program.form.checkBox(chkAutostart);
};

// The value goes under the user's key only: one under the machine's would start a program from a
// folder its owner may write at every user's logon. The box always says whether it starts.
TEST_F(SettingsPage, TheRunValueGoesOnTheUsersKeyAndTheBoxSaysWhetherTheProgramStarts) {
  PutRunValue(kMachine, "\"C:\\Old\\Vekhor.exe\"");  // an earlier version's
  autostart.Click();
  EXPECT_EQ(program.Setting("Autostart"), "1");
  EXPECT_EQ(RunValue(kUser), kInstalled);
  EXPECT_EQ(RunValue(kMachine), std::nullopt) << "the earlier version's, removed";

  // Every start with the box checked writes the value again: it follows a moved program.
  program.toolkit.appPath = "D:\\";
  autostart.Click();
  autostart.Click();
  EXPECT_EQ(RunValue(kUser), "\"D:\\Vekhor.exe\"");
  autostart.Click();
  EXPECT_EQ(RunValue(kUser), std::nullopt);
  EXPECT_EQ(program.Setting("Autostart"), "0");

  // A machine value this user may not remove still starts the program: the box goes back to
  // checked, writing nothing, and the status line says why.
  PutRunValue(kMachine, kInstalled);
  registry.denied = {kMachine};
  autostart.Click();
  autostart.Click();
  EXPECT_EQ(autostart.value, toolkit::kChecked);
  EXPECT_EQ(program.Setting("Autostart"), "1");
  EXPECT_EQ(RunValue(kMachine), kInstalled);
  EXPECT_EQ(RunValue(kUser), std::nullopt) << "clearing the box wrote a Run value";
  EXPECT_EQ(program.form.label(lblStatus).caption,
            CatalogueText(text::kEarlierEntryStays, Language::English));

  // With no key to write, the box clears itself and stores 0, at every attempt.
  registry.denied.clear();
  autostart.Click();
  registry.denied = {kUser};
  for (int attempt = 1; attempt <= 2; ++attempt) {
    autostart.Click();
    EXPECT_EQ(autostart.value, toolkit::kUnchecked) << attempt;
    EXPECT_EQ(program.Setting("Autostart"), "0");
  }
  EXPECT_EQ(RunValue(kUser), std::nullopt);

  // A 32-bit earlier version's entry, where 64-bit Windows put it, starts the program as well,
  // and goes the same way.
  registry.denied.clear();
  PutProgramValue(memory, kMachine, kRunSubKey32, platform::kRegSz, kInstalled);
  HeadlessProgram restarted(registry);
  restarted.window.Form_Load();
  fakes::HeadlessCheckBox& box = restarted.form.checkBox(chkAutostart);
  EXPECT_EQ(box.value, toolkit::kChecked);
  box.Click();
  EXPECT_EQ(box.value, toolkit::kUnchecked);
  EXPECT_EQ(ProgramValue(memory, kMachine, kRunSubKey32), std::nullopt);
}

// A start shows whether Windows will start the program: Task Manager's record (first byte odd)
// disables an entry, and an earlier version's entry for every user starts it whatever is stored.
// Only what the user asked for is written again (it follows a moved program), and never over
// Task Manager's "disabled"; a tick after that makes the program start with Windows again.
TEST_F(SettingsPage, AStartShowsWhatWindowsWillStartAndWritesOnlyWhatTheUserAskedFor) {
  using Value = std::optional<std::string>;
  const std::string old = "\"C:\\Old\\Vekhor.exe\"";
  const std::string enabled = "\x02", disabled = std::string("\x03\0\0\0", 4), off = "\x07";
  const struct {
    const char* why;
    const char* stored;
    Value user, userRecord, machine, machineRecord;
    int shown;
    Value userAfter, machineAfter;
  } starts[] = {
      {"the user's", "1", old, enabled, {}, {}, toolkit::kChecked, kInstalled, {}},
      {"the user's, disabled", "1", old, disabled, {}, {}, toolkit::kUnchecked, old, {}},
      {"an earlier version's", "0", {}, {}, old, {}, toolkit::kChecked, {}, old},
      {"an earlier version's, taken over", "1", {}, {}, old, {}, toolkit::kChecked, kInstalled, {}},
      {"an earlier version's, disabled", "0", {}, {}, old, off, toolkit::kUnchecked, {}, old},
      {"none left, the user's choice", "1", {}, {}, {}, {}, toolkit::kChecked, kInstalled, {}},
  };
  for (const auto& start : starts) {
    SCOPED_TRACE(start.why);
    platform::MemoryRegistry stored;
    const auto put = [&](platform::RegistryKey root, const char* subKey, std::uint32_t type,
                         const Value& data) {
      if (data) PutProgramValue(stored, root, subKey, type, *data);
    };
    put(kUser, kRunSubKey, platform::kRegSz, start.user);
    put(kUser, kStartupRecordSubKey, platform::kRegBinary, start.userRecord);
    put(kMachine, kRunSubKey, platform::kRegSz, start.machine);
    put(kMachine, kStartupRecordSubKey, platform::kRegBinary, start.machineRecord);
    HeadlessProgram ui(stored);
    ui.window.settings.SaveSetting("Vektal", "Horolan", "Autostart", start.stored);
    ui.window.Form_Load();
    EXPECT_EQ(ui.form.checkBox(chkAutostart).value, start.shown);
    EXPECT_EQ(ProgramValue(stored, kUser, kRunSubKey), start.userAfter);
    EXPECT_EQ(ProgramValue(stored, kMachine, kRunSubKey), start.machineAfter);
  }

  PutRunValue(kUser, old);
  PutProgramValue(memory, kUser, kStartupRecordSubKey, platform::kRegBinary, disabled);
  HeadlessProgram disabledStart(registry);
  disabledStart.window.Form_Load();
  fakes::HeadlessCheckBox& box = disabledStart.form.checkBox(chkAutostart);
  box.Click();
  EXPECT_EQ(box.value, toolkit::kChecked);
  EXPECT_EQ(RunValue(kUser), kInstalled);
  EXPECT_EQ(ProgramValue(memory, kUser, kStartupRecordSubKey), std::nullopt);
  HeadlessProgram next(registry);
  next.window.Form_Load();
  EXPECT_EQ(next.form.checkBox(chkAutostart).value, toolkit::kChecked);
}

TEST(StoredCheckState, OnlyTheExactTextsOfABoxsThreeValuesCountAndAllElseIsClear) {
  EXPECT_EQ(app::StoredCheckState("1"), toolkit::kChecked);
  EXPECT_EQ(app::StoredCheckState("2"), toolkit::kGrayed);
  for (const char* clear : {"0", "", " 1", "1 ", "01", "-1", "3", "1.0", "yes", "True", "65537"}) {
    EXPECT_EQ(app::StoredCheckState(clear), toolkit::kUnchecked) << '"' << clear << '"';
  }
}

struct Tray : ::testing::Test {
  std::string Tip(std::size_t index) const {
    const auto& tip = shell.requests.at(index).data.szTip;
    return std::string(tip.begin(), tip.end());
  }

  fakes::FakeNotifyIcon shell;
  app::SysTray tray{shell};
  fakes::HeadlessForm form;
  fakes::HeadlessTrayHost& host = form.trayHost(TrayIcon);
  fakes::HeadlessPopupMenu& menu = form.popupMenu(mnuSysTray);
};

TEST_F(Tray, TheAddAsksForTheHostsWindowAndPictureWithTheTitleAndDateAsTip) {
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

TEST_F(Tray, OnlyALeftDoubleClickAndARightReleaseOnTheIconActAtAnyPixelSize) {
  for (const int twipsPerPixel : {15, 10}) {
    SCOPED_TRACE(twipsPerPixel);
    host.twipsPerPixel = twipsPerPixel;
    for (int message = 0x200; message <= 0x209; ++message) {
      form.visible = false;
      menu.popups = 0;
      // The shell's notification: a pointer move whose x is the message in pixels.
      app::TrayIconMouseMove(host, static_cast<float>(message * twipsPerPixel), form, menu);
      EXPECT_EQ(form.visible, message == 0x203) << std::hex << message;
      EXPECT_EQ(menu.popups, message == 0x205 ? 1 : 0) << std::hex << message;
    }
    // A position that came through pixels with a rounding error still names its message.
    menu.popups = 0;
    app::TrayIconMouseMove(host, static_cast<float>(0x205 * twipsPerPixel) - 1.5F, form, menu);
    EXPECT_EQ(menu.popups, 1);
  }
}

// A start at logon may come before the taskbar: the window shows, and the icon follows.
TEST_F(Tray, ANewTaskbarGetsTheSameIconAgainUntilTheUnloadRemovesIt) {
  tray.TaskbarCreated();  // nothing asked for: nothing to add again or to remove
  tray.RemoveTrayIcon();
  EXPECT_TRUE(shell.requests.empty());

  shell.taskbarRunning = false;
  EXPECT_FALSE(tray.StartInTray(host, form, "Vektal Horolan", "2004-04-10"));
  EXPECT_TRUE(form.visible);
  for (int restart = 0; restart < 2; ++restart) {  // after the refused add, then a shown one
    shell.iconShown = false;  // Explorer ends and starts again: the icons it showed are gone
    shell.taskbarRunning = true;
    tray.TaskbarCreated();
    EXPECT_TRUE(shell.iconShown) << restart;
  }
  tray.RemoveTrayIcon();
  EXPECT_FALSE(shell.iconShown);
  tray.TaskbarCreated();
  ASSERT_EQ(shell.requests.size(), 4u);
  for (std::size_t n = 1; n < 4; ++n) {
    EXPECT_EQ(shell.requests[n].message, n < 3 ? 0 : 2);
    EXPECT_EQ(shell.requests[n].data, shell.requests[0].data);
  }
}

}  // namespace
}  // namespace vekhor
