#include "app/frm_main.h"

#include "app/administrator_run.h"
#include "app/command_line.h"
#include "app/settings.h"
#include "platform/clock.h"
#include "res/build_date.h"
#include "servers/list_editing.h"

namespace vekhor::app {

using toolkit::ControlId;

namespace {

// Page buttons: picture and tool tip of each page.
struct PageButton {
  int icon;
  int toolTip;
};
constexpr std::array<PageButton, toolkit::kPageCount> kPageButtons{{
    {102, text::kSynchronize},
    {103, text::kSettings},
    {104, text::kServers},
    {105, text::kAbout},
}};
constexpr int kLinkCursor = 101;

constexpr int kTimer1IntervalMs = 60000;
constexpr int kTimer2IntervalMs = 500;

}  // namespace

frmMain::frmMain(toolkit::Toolkit& tk, platform::Platform& system)
    : toolkit(tk),
      platform(system),
      form(tk.MainForm()),
      settings(system.registry),
      sysTray(system.notifyIcon),
      log(settings, tk, system.clock, system.shell),
      optSync{&form.optionButton(ControlId::optSync0), &form.optionButton(ControlId::optSync1),
              &form.optionButton(ControlId::optSync2), &form.optionButton(ControlId::optSync3)},
      Frame1{&form.frame(ControlId::Frame1_0), &form.frame(ControlId::Frame1_1),
             &form.frame(ControlId::Frame1_2), &form.frame(ControlId::Frame1_3)},
      cmdSync(form.button(ControlId::cmdSync)),
      lblStatus(form.label(ControlId::lblStatus)),
      cmdSyncAdmin(form.button(ControlId::cmdSyncAdmin)),
      chkSync(form.checkBox(ControlId::chkSync)),
      chkInternetConnection(form.checkBox(ControlId::chkInternetConnection)),
      chkSysTray(form.checkBox(ControlId::chkSysTray)),
      chkLog(form.checkBox(ControlId::chkLog)),
      chkAutostart(form.checkBox(ControlId::chkAutostart)),
      cmdLog(form.button(ControlId::cmdLog)),
      txtServer(form.textField(ControlId::txtServer)),
      cmdAdd(form.button(ControlId::cmdAdd)),
      cmdRemove(form.button(ControlId::cmdRemove)),
      lstServer(form.checkedList(ControlId::lstServer)),
      picLogo(form.pictureBox(ControlId::picLogo)),
      lblAbout(form.label(ControlId::lblAbout)),
      lblTime(form.label(ControlId::lblTime)),
      cmdExit(form.button(ControlId::cmdExit)),
      lblURL(form.label(ControlId::lblURL)),
      TrayIcon(form.trayHost(ControlId::TrayIcon)),
      Timer1(form.timer(ControlId::Timer1)),
      Timer2(form.timer(ControlId::Timer2)),
      mnuSysTray(form.popupMenu(ControlId::mnuSysTray)),
      mnuOpen(form.menuEntry(ControlId::mnuOpen)),
      mnuExit(form.menuEntry(ControlId::mnuExit)) {
  for (int index = 0; index < toolkit::kPageCount; ++index) {
    optSync[static_cast<std::size_t>(index)]->onClick = [this, index] {
      optSync_Click(static_cast<std::int16_t>(index));
    };
  }
  form.onResize = [this] { Form_Resize(); };
  form.onUnload = [this](int& cancel) { Form_Unload(cancel); };
  form.onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
  form.onActivate = [this] { Form_Activate(); };
  cmdExit.onClick = [this] { cmdExit_Click(); };
  cmdSync.onClick = [this] { cmdSync_Click(); };
  cmdSyncAdmin.onClick = [this] { cmdSyncAdmin_Click(); };
  Timer1.onTick = [this] { Timer1_Timer(); };
  lstServer.onDblClick = [this] { lstServer_DblClick(); };
  mnuExit.onClick = [this] { mnuExit_Click(); };
  form.onMouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
  lblURL.onMouseMove = [this](int b, int s, float x, float y) { lblURL_MouseMove(b, s, x, y); };
  lblURL.onMouseUp = [this](int b, int s, float x, float y) {
    lblURL_MouseUp(static_cast<std::int16_t>(b), s, x, y);
  };
  Timer2.onTick = [this] { Timer2_Timer(); };
  chkAutostart.onClick = [this] { chkAutostart_Click(); };
  chkInternetConnection.onClick = [this] { chkInternetConnection_Click(); };
  chkLog.onClick = [this] { chkLog_Click(); };
  chkSysTray.onClick = [this] { chkSysTray_Click(); };
  chkSync.onClick = [this] { chkSync_Click(); };
  TrayIcon.onMouseMove = [this](int b, int s, float x, float y) { TrayIcon_MouseMove(b, s, x, y); };
  mnuOpen.onClick = [this] { mnuOpen_Click(); };
  cmdAdd.onClick = [this] { cmdAdd_Click(); };
  cmdLog.onClick = [this] { cmdLog_Click(); };
  cmdRemove.onClick = [this] { cmdRemove_Click(); };
  lstServer.onItemCheck = [this](int item) {
    lstServer_ItemCheck(static_cast<std::int16_t>(item));
  };
  form.onTaskbarCreated = [this] { sysTray.TaskbarCreated(); };
  form.onResume = [this] { schedule_.Resumed(); };
  CloseAfterSync = AsksForCloseMode(toolkit.Command());  // Form_Initialize
}

void frmMain::Form_Load() {
  form.SetCaption(toolkit.AppTitle());
  // The window's request to set the clock as administrator: the time it fetched is set, and
  // nothing else is done; this run may be another account's, with other settings.
  if (const auto handOver = HandOverIn(toolkit.Command()); CloseAfterSync && handOver) {
    guest_ = true;
    form.SetVisible(false);
    exitStatus_ = SetClockFromHandOver(*handOver, platform.clock, kBuildDaySince1900);
    form.Unload();
    return;
  }
  // Close mode beside a running instance (a scheduled task's, or the window's own request to set
  // the clock as administrator) is its guest: it reads the store and writes nothing to it, so
  // that it neither seeds the list again nor undoes what the user changes in the window.
  guest_ = CloseAfterSync && toolkit.PrevInstance();
  if (guest_) {
    ReadServers(platform.registry, servers);
  } else {
    LoadServers(platform.registry, servers);
  }
  // Close mode runs beside a running instance: a scheduled task's, or the window's own request
  // to set the clock as administrator, must not end with nothing done.
  if (!CloseAfterSync && toolkit.PrevInstance()) {
    // The running instance is left alone; this one ends without a word.
    secondInstance_ = true;
    ExitRequested = true;
    form.Unload();
    return;
  }
  SetCaptions();
  cmdSyncAdmin.SetShield(true);
  cmdSyncAdmin.SetVisible(false);
  lblAbout.SetCaption(AboutText());
  picLogo.SetBitmap(toolkit::kLogoBitmap);
  lblURL.SetMouseIcon(kLinkCursor);
  lblTime.SetCaption(platform.clock.NowText());
  lstServer.SetToolTip(toolkit.Texts().LoadResString(text::kDoubleClickToSync));
  mnuOpen.SetCaption(toolkit.Texts().LoadResString(text::kOpen));
  mnuExit.SetCaption(toolkit.Texts().LoadResString(text::kExit));
  SetPageButtons();
  LoadServerList();
  LoadSettings();
  for (int index = 1; index < toolkit::kPageCount; ++index) {
    Frame1[static_cast<std::size_t>(index)]->SetVisible(false);
  }
  Timer1.SetEnabled(chkSync.Value() == toolkit::kChecked);
  Timer1.SetInterval(kTimer1IntervalMs);
  Timer2.SetEnabled(true);
  Timer2.SetInterval(kTimer2IntervalMs);
  if (CloseAfterSync) {
    form.SetVisible(false);
    exitStatus_ = vekhor::ExitStatus(Synchronize(""));
    form.Unload();
  } else if (chkSysTray.Value() == toolkit::kUnchecked) {
    form.SetVisible(true);
  } else {
    // No activation comes in the tray: the start's run is made here. Where the icon was refused,
    // the window shows, and its activation runs.
    const bool inTray =
        sysTray.StartInTray(TrayIcon, form, toolkit.AppTitle(), platform.clock.DateText());
    if (inTray && Timer1.Enabled()) RunByItself();
  }
}

void frmMain::Form_Activate() {
  log.WriteLog(toolkit.Texts().LoadResString(text::kApplicationStarted));
  if (Timer1.Enabled()) RunByItself();
}

// A close of the visible window hides it, unless an exit was asked for or the session ends (the
// process is ended right after: the unload must store the settings and remove the icon first).
// Hidden, the program must stay reachable: without an icon in the notification area it asks for
// one again, and where the shell still takes none the window stays.
void frmMain::Form_QueryUnload(int& Cancel, int UnloadMode) {
  if (!form.Visible() || ExitRequested || UnloadMode == toolkit::kUnloadFromWindows) return;
  Cancel = 1;
  if (!sysTray.IconPresent() &&
      !sysTray.AddTrayIcon(TrayIcon, toolkit.AppTitle(), platform.clock.DateText())) {
    return;
  }
  form.SetVisible(false);
}

SyncOutcome frmMain::Synchronize(const std::string& Server) {
  return Run(Server, false).value_or(SyncOutcome::NoTime);
}

// One run at a time: one asked for while a walk yields to the window (a double-click, the hourly
// tick, an activation) is skipped, so that no clock is set twice from one request; a skipped run
// neither starts nor lengthens the retries.
std::optional<SyncOutcome> frmMain::Run(const std::string& Server, bool cameByItself) {
  if (syncing_) return std::nullopt;
  syncing_ = true;
  FetchedTime fetched;
  const SyncRun run{toolkit,
                    platform,
                    log,
                    lblStatus,
                    chkInternetConnection,
                    lstServer,
                    servers,
                    [this] { return unloading_; },
                    kBuildDaySince1900,
                    askGuard_,
                    &fetched};
  const SyncOutcome outcome = vekhor::Synchronize(Server, run);
  syncing_ = false;
  refusedTime_.reset();
  if (outcome == SyncOutcome::Refused) refusedTime_ = HandOverOf(fetched);
  // Refused for want of the right: the window offers the same run as administrator. It only
  // offers; no run, the hourly one least of all, asks for consent by itself.
  if (!unloading_ && !CloseAfterSync) cmdSyncAdmin.SetVisible(outcome == SyncOutcome::Refused);
  schedule_.RunEnded(outcome != SyncOutcome::NoTime, cameByItself);
  return outcome;
}

// /close again, as administrator after the user's consent, handed the time this window's run
// fetched, and waited for with the window alive. Once the window unloads, the wait ends and the
// elevated run finishes on its own.
void frmMain::cmdSyncAdmin_Click() {
  if (syncing_) return;
  if (!refusedTime_ || !IsFresh(*refusedTime_, platform.clock.MonotonicMicroseconds())) {
    // Too old to hand over: fetched again, and offered again only if refused again.
    if (Synchronize("") != SyncOutcome::Refused || unloading_) return;
  }
  syncing_ = true;
  cmdSync.SetEnabled(false);
  cmdSyncAdmin.SetEnabled(false);
  const platform::ElevatedRun run = platform.shell.RunSelfAsAdministrator(
      form.Handle(), AdministratorRunArguments(*refusedTime_), [this] {
        toolkit.DoEvents();
        return !unloading_;
      });
  syncing_ = false;
  if (unloading_) return;
  cmdSync.SetEnabled(true);
  cmdSyncAdmin.SetEnabled(true);
  const std::string status = AdministratorRunStatus(run, toolkit.Texts(), platform.clock);
  lblStatus.SetCaption(status);
  log.WriteLog(toolkit.Texts().LoadResString(text::kAsAdministrator) + " " + status);
  const bool set = run.outcome == platform::ElevatedRun::Outcome::Ended && run.exitStatus == 0;
  cmdSyncAdmin.SetVisible(!set);
}

void frmMain::cmdSync_Click() {
  RunWithButton(false);
}

// The runs that come by themselves while the hourly option is on: the hourly one, the retries
// after a run that got no time, after a wake-up, at a start. Unattended: nothing modal.
void frmMain::RunByItself() {
  RunWithButton(true);
}

// The button stays disabled until the run it started has ended.
void frmMain::RunWithButton(bool cameByItself) {
  if (syncing_) return;
  cmdSync.SetEnabled(false);
  Run("", cameByItself);
  if (!unloading_) cmdSync.SetEnabled(true);
}

void frmMain::Timer1_Timer() {
  if (schedule_.Tick(platform.clock.MonotonicMicroseconds())) RunByItself();
}

// A double-click anywhere in the list runs the first checked server alone.
void frmMain::lstServer_DblClick() {
  for (int index = 0; index < lstServer.ListCount(); ++index) {
    if (lstServer.Selected(index)) {
      Synchronize(lstServer.List(index));
      return;
    }
  }
}

void frmMain::cmdExit_Click() {
  ExitRequested = true;
  form.Unload();
}

// The user asked to exit, whether the window is shown or not.
void frmMain::mnuExit_Click() {
  cmdExit_Click();
}

// The next start reads "SysTray" to tell itself from a first start.
void frmMain::Form_Unload(int&) {
  unloading_ = true;  // a run waiting in DoEvents sees it and ends
  servers.clear();
  sysTray.RemoveTrayIcon();
  // A second instance never loaded its boxes: what they hold is not the user's choice; a guest
  // loaded them, but the window beside it holds the user's choice.
  if (!secondInstance_ && !guest_) {
    StoreCheckBox(chkSync, settings, kIntervalSetting);
    StoreCheckBox(chkSysTray, settings, kSysTraySetting);
  }
  log.WriteLog(toolkit.Texts().LoadResString(text::kApplicationClosed));
}

// No "SysTray" stored yet is the first start: the default servers join whatever list was found,
// and the marker is stored with them, so that a close mode started beside this window before it
// ends finds no first start.
void frmMain::LoadServerList() {
  // Otherwise the collection holds the stored list: the load at the start read it, and nothing
  // has written the store since, so reading it again would only cost the start its time.
  if (settings.GetSetting(kSettingsApplication, kSettingsSection, kSysTraySetting, "").empty()) {
    AddDefaultServers(servers);
    if (!guest_) settings.SaveSetting(kSettingsApplication, kSettingsSection, kSysTraySetting, "0");
  }
  // The marks the fill restores are stored already, and the save below stores them all again.
  fillingList_ = true;
  FillServerList(lstServer, servers, settings);
  fillingList_ = false;
  if (!guest_) SaveServers(platform.registry, servers, ListCheckMarks(lstServer));
}

// Each box starts clear, so a stored value that checks it runs its handler as a click would.
void frmMain::LoadSettings() {
  const auto stored = [this](const char* key, const char* absent) {
    return StoredCheckState(
        settings.GetSetting(kSettingsApplication, kSettingsSection, key, absent));
  };
  LoadAutostart(chkAutostart, stored(kAutostartSetting, "0"), platform.registry);
  chkInternetConnection.SetValue(stored(kInternetConnectionSetting, "1"));
  chkLog.SetValue(stored(kLogSetting, "0"));
  chkSysTray.SetValue(stored(kSysTraySetting, "0"));
  chkSync.SetValue(stored(kIntervalSetting, "0"));
}

void frmMain::chkAutostart_Click() {
  if (guest_) return;
  if (AutostartClicked(chkAutostart, settings, platform.registry, toolkit.AppPath()) ==
      AutostartNote::EarlierEntryStays) {
    lblStatus.SetCaption(toolkit.Texts().LoadResString(text::kEarlierEntryStays));
  }
}

void frmMain::chkInternetConnection_Click() {
  if (guest_) return;
  StoreCheckBox(chkInternetConnection, settings, kInternetConnectionSetting);
}

void frmMain::chkLog_Click() {
  if (guest_) return;
  StoreCheckBox(chkLog, settings, kLogSetting);
}

void frmMain::chkSysTray_Click() {
  if (guest_) return;
  StoreCheckBox(chkSysTray, settings, kSysTraySetting);
}

void frmMain::chkSync_Click() {
  if (guest_) return;
  SyncClicked(chkSync, settings, Timer1);
  if (!Timer1.Enabled()) schedule_.Stopped();
}

void frmMain::TrayIcon_MouseMove(int, int, float x, float) {
  TrayIconMouseMove(TrayIcon, x, form, mnuSysTray);
}

void frmMain::mnuOpen_Click() {
  form.SetVisible(true);
}

void frmMain::cmdAdd_Click() {
  AddServer(txtServer, lstServer, servers, platform.registry);
}

// An empty message opens the log with its viewer.
void frmMain::cmdLog_Click() {
  log.WriteLog("");
}

void frmMain::cmdRemove_Click() {
  RemoveServer(toolkit, lstServer, servers, platform.registry);
}

void frmMain::lstServer_ItemCheck(std::int16_t Item) {
  if (!fillingList_) StoreCheckMark(lstServer, Item, settings);
}

void frmMain::SetCaptions() {
  const TextSource& texts = toolkit.Texts();
  chkAutostart.SetCaption(texts.LoadResString(text::kAutorun));
  chkInternetConnection.SetCaption(texts.LoadResString(text::kCheckInternet));
  chkLog.SetCaption(texts.LoadResString(text::kLogToFile));
  chkSync.SetCaption(texts.LoadResString(text::kSynchronizeHourly));
  chkSysTray.SetCaption(texts.LoadResString(text::kStartInTray));
  cmdSync.SetCaption(texts.LoadResString(text::kSynchronize));
  cmdExit.SetCaption(texts.LoadResString(text::kExit));
  cmdAdd.SetCaption(texts.LoadResString(text::kAdd));
  cmdLog.SetCaption(texts.LoadResString(text::kViewLog));
  cmdRemove.SetCaption(texts.LoadResString(text::kRemove));
  cmdSyncAdmin.SetCaption(texts.LoadResString(text::kSetClockAsAdministrator));
}

void frmMain::SetPageButtons() {
  for (std::size_t index = 0; index < kPageButtons.size(); ++index) {
    optSync[index]->SetCaption("");
    optSync[index]->SetPicture(kPageButtons[index].icon);
    optSync[index]->SetToolTip(toolkit.Texts().LoadResString(kPageButtons[index].toolTip));
  }
}

std::string frmMain::AboutText() const {
  const toolkit::Version version = toolkit.AppVersion();
  return "Version " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.revision) + "\r\n" + kCopyrightLine;
}

void frmMain::optSync_Click(std::int16_t Index) {
  if (Index < 0 || Index >= toolkit::kPageCount) return;
  for (toolkit::Frame* page : Frame1) page->SetVisible(false);
  Frame1[static_cast<std::size_t>(Index)]->SetVisible(true);
  // The about page has nothing to focus: the Exit button below the pages takes it.
  toolkit::Control* const focus[toolkit::kPageCount] = {&cmdSync, &chkSync, &txtServer, &cmdExit};
  focus[Index]->SetFocus();
}

void frmMain::Timer2_Timer() {
  lblTime.SetCaption(platform.clock.NowText());
}

void frmMain::lblURL_MouseMove(int, int, float, float) {
  lblURL.SetFontUnderline(true);
  lblURL.SetForeColor(toolkit::kYellow);
}

void frmMain::Form_MouseMove(int, int, float, float) {
  lblURL.SetFontUnderline(false);
  lblURL.SetForeColor(toolkit::kRed);
}

void frmMain::lblURL_MouseUp(std::int16_t Button, int, float, float) {
  if (Button != toolkit::kLeftButton) return;
  platform.shell.Execute(form.Handle(), "", lblURL.Caption(), "", "C:\\", platform::kShowNormal);
}

void frmMain::Form_Resize() {
  if (form.WindowState() == toolkit::kWindowMinimised) return;
  for (toolkit::Frame* page : Frame1) {
    page->SetLeft(toolkit::kPageRect.left);
    page->SetTop(toolkit::kPageRect.top);
    page->SetHeight(toolkit::kPageRect.height);
    page->SetWidth(toolkit::kPageRect.width);
  }
}

}  // namespace vekhor::app
