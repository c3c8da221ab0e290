#include "sync/sync_run.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "net/tcpip.h"
#include "platform/clock.h"
#include "sync/reachability.h"
#include "sync/set_clock.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

std::string Text(const SyncRun& run, int number) {
  return run.toolkit.Texts().LoadResString(number);
}

bool IsAcceptedAnswer(const SyncRun& run, const std::string& answer) {
  return answer.size() == 4 && answer != Text(run, text::kCouldNotMakeConnection);
}

// A run that sets no clock says why, so that no earlier success line is left standing and an
// unattended run leaves a trace in the log.
SyncOutcome EndWithoutTime(const SyncRun& run, int textNumber) {
  const std::string reason = Text(run, textNumber);
  run.lblStatus.SetCaption(reason);
  run.log.WriteLog(reason);
  return SyncOutcome::NoTime;
}

// The server's answer when it answers the echo and the time fetch with a time that can be now;
// nothing otherwise. An empty name (an entry whose stored name could not be read) would be looked
// up as this machine: it is never asked.
std::optional<std::string> Ask(const SyncRun& run, TCPIP& tcpip, const std::string& server) {
  if (server.empty()) return std::nullopt;
  if (tcpip.Ping(server) <= 0) {
    run.log.WriteLog(Text(run, text::kNoResponseFrom) + " " + server);
    return std::nullopt;
  }
  std::string answer = tcpip.SynchTime(server);
  if (!IsAcceptedAnswer(run, answer)) return std::nullopt;
  // A clock that has never been set, or a server gone wrong, answers with a time the program
  // cannot be running at: 1990, or the all-zero count.
  if (!IsPlausibleTime(answer, run.earliestTime)) {
    run.log.WriteLog(Text(run, text::kImplausibleTimeFrom) + " " + server);
    return std::nullopt;
  }
  return answer;
}

struct Found {
  std::string server;
  std::string answer;
};

// Whether the list still holds `name` at `position`: a check mark belongs to a name only there.
bool ListStillHolds(const toolkit::CheckedList& list, std::size_t position,
                    const std::string& name) {
  const int count = list.ListCount();
  return count > 0 && position < static_cast<std::size_t>(count) &&
         list.List(static_cast<int>(position)) == name;
}

// The window may run anything inside DoEvents, this walk's own window closing included, so the
// walk keeps its own copy of the names. It reads each check mark live, as the user may change
// it meanwhile, but only while the entry there still has the name the walk is at: once an entry
// was added or removed, the marks no longer belong to the names, and the walk ends.
std::optional<Found> Walk(const SyncRun& run, TCPIP& tcpip, const ServerCollection& names,
                          bool& abandoned) {
  for (std::size_t position = 0; position < names.size(); ++position) {
    run.toolkit.DoEvents();
    if (run.unloading && run.unloading()) {
      abandoned = true;
      return std::nullopt;
    }
    const std::string& server = names[position];
    if (!ListStillHolds(run.lstServer, position, server)) return std::nullopt;
    if (!run.lstServer.Selected(static_cast<int>(position))) continue;
    if (auto answer = Ask(run, tcpip, server)) return Found{server, std::move(*answer)};
  }
  return std::nullopt;
}

}  // namespace

int ExitStatus(SyncOutcome outcome) {
  switch (outcome) {
    case SyncOutcome::ClockSet:
      return 0;
    case SyncOutcome::NoTime:
      return 1;
    case SyncOutcome::Refused:
      return 2;
  }
  return 1;
}

SyncOutcome Synchronize(const std::string& serverName, const SyncRun& run) {
  platform::Platform& os = run.platform;
  if (run.chkInternetConnection.Value() == toolkit::kChecked &&
      !IsInternetConnected(os.connectivity)) {
    return EndWithoutTime(run, text::kNotConnected);
  }

  std::optional<Found> found;
  {
    TCPIP tcpip(os.sockets, os.icmp, run.toolkit.Texts());
    if (tcpip.GetIPaddress().empty()) return EndWithoutTime(run, text::kNoValidLocalAddress);
    if (!serverName.empty()) {
      if (auto answer = Ask(run, tcpip, serverName)) found = Found{serverName, std::move(*answer)};
    } else {
      const ServerCollection names = run.servers;
      bool abandoned = false;
      found = Walk(run, tcpip, names, abandoned);
      if (abandoned) return SyncOutcome::NoTime;
    }
  }  // the connection is closed before the clock is touched
  if (!found) return EndWithoutTime(run, text::kNoTimeReceived);

  const std::string oldTime = os.clock.NowText();
  switch (SetClock(found->answer, run.lblStatus, run.toolkit, os.clock, run.unattended)) {
    case ClockChange::Set:
      run.log.WriteLog(Text(run, text::kConnectedTo) + " " + found->server);
      run.log.WriteLog(Text(run, text::kClockAdjusted) + " " + Text(run, text::kFrom) + " " +
                       oldTime + " " + Text(run, text::kTo) + " " + os.clock.NowText());
      return SyncOutcome::ClockSet;
    case ClockChange::Refused:
      // The refusal is what the status label now says; it names no server, the line before does.
      run.log.WriteLog(Text(run, text::kConnectedTo) + " " + found->server);
      run.log.WriteLog(run.lblStatus.Caption());
      return SyncOutcome::Refused;
    case ClockChange::InvalidAnswer:
      if (run.unattended) run.log.WriteLog(Text(run, text::kInvalidResponse));
      break;
  }
  return EndWithoutTime(run, text::kNoTimeReceived);
}

}  // namespace vekhor
