// frmMain, the program's one window: its controls under their names, the window's state, and
// the event handlers that belong to the window as a whole (pages, clock, about link, resize).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/administrator_run.h"
#include "app/run_schedule.h"
#include "app/tray.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"
#include "sync/sync_run.h"
#include "toolkit/toolkit.h"

namespace vekhor::app {

// The about text's copyright line.
inline constexpr const char* kCopyrightLine = "Copyright (C) 2004-2026 Vektal";

class frmMain {
 public:
  // Form_Initialize: takes the controls of the toolkit's main window and wires their events.
  frmMain(toolkit::Toolkit& toolkit, platform::Platform& platform);
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  void Form_Load();
  void Form_Activate();
  void Form_QueryUnload(int& Cancel, int UnloadMode);
  void Form_Unload(int& Cancel);
  void cmdExit_Click();
  void mnuExit_Click();
  void cmdSync_Click();
  void Timer1_Timer();
  void lstServer_DblClick();
  SyncOutcome Synchronize(const std::string& Server);
  void Form_Resize();
  void Form_MouseMove(int button, int shift, float x, float y);
  void optSync_Click(std::int16_t Index);
  void Timer2_Timer();
  void lblURL_MouseMove(int button, int shift, float x, float y);
  void lblURL_MouseUp(std::int16_t Button, int shift, float x, float y);
  void chkAutostart_Click();
  void chkInternetConnection_Click();
  void chkLog_Click();
  void chkSysTray_Click();
  void chkSync_Click();
  void TrayIcon_MouseMove(int button, int shift, float x, float y);
  void mnuOpen_Click();
  void cmdAdd_Click();
  void cmdLog_Click();
  void cmdRemove_Click();
  void lstServer_ItemCheck(std::int16_t Item);
  void cmdSyncAdmin_Click();

  toolkit::Toolkit& toolkit;
  platform::Platform& platform;
  toolkit::Form& form;
  RegistrySettingsStore settings;
  // TrayIconData and the calls on it.
  SysTray sysTray;
  EventLog log;
  // The host names of lstServer's entries, in the same order.
  ServerCollection servers;
  bool CloseAfterSync = false;
  bool ExitRequested = false;
  // The process's exit status: 0, or in close mode whether the run set the clock.
  int ExitStatus() const { return exitStatus_; }

  std::array<toolkit::OptionButton*, toolkit::kPageCount> optSync;
  std::array<toolkit::Frame*, toolkit::kPageCount> Frame1;
  toolkit::Button& cmdSync;
  toolkit::Label& lblStatus;
  toolkit::Button& cmdSyncAdmin;
  toolkit::CheckBox& chkSync;
  toolkit::CheckBox& chkInternetConnection;
  toolkit::CheckBox& chkSysTray;
  toolkit::CheckBox& chkLog;
  toolkit::CheckBox& chkAutostart;
  toolkit::Button& cmdLog;
  toolkit::TextField& txtServer;
  toolkit::Button& cmdAdd;
  toolkit::Button& cmdRemove;
  toolkit::CheckedList& lstServer;
  toolkit::PictureBox& picLogo;
  toolkit::Label& lblAbout;
  toolkit::Label& lblTime;
  toolkit::Button& cmdExit;
  toolkit::Label& lblURL;
  toolkit::TrayHost& TrayIcon;
  toolkit::Timer& Timer1;
  toolkit::Timer& Timer2;
  toolkit::PopupMenu& mnuSysTray;
  toolkit::MenuEntry& mnuOpen;
  toolkit::MenuEntry& mnuExit;

 private:
  bool secondInstance_ = false;
  bool guest_ = false;  // close mode beside a running instance: reads the store, writes nothing
  // The time of the last run that Windows refused to set, for the run as administrator.
  std::optional<HandOver> refusedTime_;
  bool unloading_ = false;
  bool syncing_ = false;
  bool fillingList_ = false;
  int exitStatus_ = 0;
  RunSchedule schedule_;  // the hourly runs, the retries and the runs after a wake-up
  AskGuard askGuard_;     // no server is asked twice within 4 s, whichever runs meet

  void SetCaptions();
  void SetPageButtons();
  void LoadSettings();
  void LoadServerList();
  std::string AboutText() const;
  std::optional<SyncOutcome> Run(const std::string& Server, bool cameByItself);
  void RunByItself();
  void RunWithButton(bool cameByItself);
};

}  // namespace vekhor::app
