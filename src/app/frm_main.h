// frmMain, the program's one window: its controls under their names, the window's state, and
// the event handlers that belong to the window as a whole (pages, clock, about link, resize).
#pragma once

#include <array>
#include <cstdint>
#include <string>

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
  frmMain(Toolkit& toolkit, platform::Platform& platform);
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

  Toolkit& toolkit;
  platform::Platform& platform;
  Form& form;
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

  std::array<OptionButton*, kPageCount> optSync;
  std::array<Frame*, kPageCount> Frame1;
  Button& cmdSync;
  Label& lblStatus;
  Button& cmdSyncAdmin;
  CheckBox& chkSync;
  CheckBox& chkInternetConnection;
  CheckBox& chkSysTray;
  CheckBox& chkLog;
  CheckBox& chkAutostart;
  Button& cmdLog;
  TextField& txtServer;
  Button& cmdAdd;
  Button& cmdRemove;
  CheckedList& lstServer;
  PictureBox& picLogo;
  Label& lblAbout;
  Label& lblTime;
  Button& cmdExit;
  Label& lblURL;
  TrayHost& TrayIcon;
  Timer& Timer1;
  Timer& Timer2;
  PopupMenu& mnuSysTray;
  MenuEntry& mnuOpen;
  MenuEntry& mnuExit;

 private:
  bool secondInstance_ = false;
  bool unloading_ = false;
  bool syncing_ = false;
  bool fillingList_ = false;
  int exitStatus_ = 0;
  std::int16_t timer1Ticks_ = 0;  // keeps its count while the hourly box is switched

  void SetCaptions();
  void SetPageButtons();
  void LoadSettings();
  void LoadServerList();
  std::string AboutText() const;
};

}  // namespace vekhor::app
