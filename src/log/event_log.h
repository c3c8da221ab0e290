// The optional log file "Log.wri" in the program's folder: one dated line per event, and the
// viewer that opens the file with its associated program.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/shell.h"
#include "servers/settings_store.h"
#include "toolkit/toolkit.h"

namespace vekhor {

class EventLog {
 public:
  EventLog(SettingsStore& settings, toolkit::Toolkit& toolkit, platform::Clock& clock,
           platform::Shell& shell)
      : settings_(settings), toolkit_(toolkit), clock_(clock), shell_(shell) {}

  // A non-empty message is appended when the "Log" setting is on (a new file starts with the
  // "Log file created" line); an empty message opens an existing log for viewing. A file or
  // folder that cannot be written is passed over silently.
  void WriteLog(const std::string& message);

  // In UTF-8, as the program's folder is.
  std::string LogPath() const;

 private:
  SettingsStore& settings_;
  toolkit::Toolkit& toolkit_;
  platform::Clock& clock_;
  platform::Shell& shell_;
};

}  // namespace vekhor
