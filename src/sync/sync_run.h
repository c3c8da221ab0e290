// One synchronization run: from one named server, or from the first checked server in the list
// that passes the checks and gives a time, by the Time protocol or, where nothing serves it, by
// SNTP.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "log/event_log.h"
#include "platform/platform.h"
#include "servers/server_list.h"
#include "sync/ask_guard.h"
#include "sync/fetched_time.h"
#include "toolkit/toolkit.h"

namespace vekhor {

// What a run achieved; close mode turns it into the exit status 0, 1 or 2.
enum class SyncOutcome { ClockSet, NoTime, Refused };

int ExitStatus(SyncOutcome outcome);

// What a run reads and writes. The run copies `servers` before it first yields to the window, so
// the window may change or free its collection during the walk.
struct SyncRun {
  toolkit::Toolkit& toolkit;
  platform::Platform& platform;
  EventLog& log;
  toolkit::Label& lblStatus;
  const toolkit::CheckBox& chkInternetConnection;
  const toolkit::CheckedList& lstServer;
  const ServerCollection& servers;
  // True once the window has begun to unload: the run then ends without touching anything more.
  std::function<bool()> unloading;
  // Seconds since 1900 of the program's build day: no answer names an earlier time, and a 32-bit
  // count of seconds names the moment nearest it.
  std::int64_t buildDay = 0;
  // The questions of earlier runs in this process, which this run adds to.
  AskGuard& guard;
  // Where given, receives the time the run fetched, whether the clock took it or not.
  FetchedTime* fetched = nullptr;
};

// An empty `serverName` walks the checked servers in list order.
SyncOutcome Synchronize(const std::string& serverName, const SyncRun& run);

}  // namespace vekhor
