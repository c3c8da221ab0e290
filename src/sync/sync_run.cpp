#include "sync/sync_run.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "net/tcpip.h"
#include "platform/clock.h"
#include "sync/direct_asking.h"
#include "sync/reachability.h"
#include "sync/run_steps.h"
#include "sync/set_clock.h"
#include "sync/sntp_packet.h"

namespace vekhor {
namespace {

// However the servers and the network behave, a run ends within this: a dead name server, or a
// firewall that answers the echo and drops ports 37 and 123, must not hold the program for
// minutes.
constexpr std::int64_t kRunDeadlineUs = 20000000;

// A run that sets no clock says why, so that no earlier success line is left standing and an
// unattended run leaves a trace in the log.
SyncOutcome EndWithoutTime(const SyncRun& run, int textNumber) {
  const std::string reason = Text(run, textNumber);
  run.lblStatus.SetCaption(reason);
  run.log.WriteLog(reason);
  return SyncOutcome::NoTime;
}

std::string AddressOf(TCPIP& tcpip, RunState& state, const std::string& server) {
  const auto known = state.addresses.find(server);
  if (known != state.addresses.end()) return known->second;
  tcpip.NameLookup(server);
  std::string address = tcpip.addresses().empty() ? "" : tcpip.addresses().front();
  state.addresses.emplace(server, address);
  return address;
}

// The time from a server that answered the echo: by the Time protocol or, where nothing there
// serves it, by SNTP; nothing when it gives none.
std::optional<FetchedTime> Fetch(const SyncRun& run, TCPIP& tcpip, RunState& state,
                                 const Target& target) {
  platform::Clock& clock = run.platform.clock;
  if (!MayAsk(run, state, target)) return std::nullopt;
  const std::int64_t now = clock.MonotonicMicroseconds();
  const std::string answer = tcpip.SynchTime(target.address);
  const ExchangeTiming& timing = tcpip.LastExchange();
  if (timing.connected) {
    run.guard.Asked(target.address, now);
    // A server that took the connection has answered in its own protocol, with a time or not.
    return TimeFromAnswer(run, target.server, answer, timing.connectUs, timing.arrivalUs);
  }
  // Nothing serves port 37 there, as with most servers today: the same address by SNTP.
  run.guard.Asked(target.address, clock.MonotonicMicroseconds());
  const SntpOutcome sntp = AskSntp(run.platform.sockets, clock, target.address, kSntpPort,
                                   run.buildDay, RandomBits(clock));
  return TimeFromSntp(run, state, target, sntp);
}

enum class Echo { Answered, Silent, NoAddress };

// The echo orders the walk: a server that answers it is asked at once. An empty name (an entry
// whose stored name could not be read) would be looked up as this machine: it is never asked.
Echo EchoOf(const SyncRun& run, TCPIP& tcpip, RunState& state, Target& target) {
  target.address = target.server.empty() ? "" : AddressOf(tcpip, state, target.server);
  if (!target.address.empty() && tcpip.Ping(target.address) > 0) return Echo::Answered;
  if (!target.server.empty()) {
    run.log.WriteLog(Text(run, text::kNoResponseFrom) + " " + target.server);
  }
  return target.address.empty() ? Echo::NoAddress : Echo::Silent;
}

std::optional<Found> AskOne(const SyncRun& run, TCPIP& tcpip, RunState& state,
                            const std::string& server) {
  Target target{server, ""};
  switch (EchoOf(run, tcpip, state, target)) {
    case Echo::Answered:
      if (auto time = Fetch(run, tcpip, state, target)) return Found{server, *time};
      return std::nullopt;
    case Echo::Silent:
      return AskWithoutEcho(run, state, tcpip.GetIPaddress(), {target});
    case Echo::NoAddress:
      break;
  }
  return std::nullopt;
}

// Whether the list still holds `name` at `position`: a check mark belongs to a name only there.
bool ListStillHolds(const toolkit::CheckedList& list, std::size_t position,
                    const std::string& name) {
  const int count = list.ListCount();
  return count > 0 && position < static_cast<std::size_t>(count) &&
         list.List(static_cast<int>(position)) == name;
}

// Lets the window handle its events; false, with `abandoned` set, once it has begun to unload.
bool Yield(const SyncRun& run, bool& abandoned) {
  run.toolkit.DoEvents();
  abandoned = run.unloading && run.unloading();
  return !abandoned;
}

bool PastDeadline(const SyncRun& run, const RunState& state) {
  return run.platform.clock.MonotonicMicroseconds() >= state.deadlineUs;
}

// The window may run anything inside DoEvents, this walk's own window closing included, so the
// walk keeps its own copy of the names. It reads each check mark live, as the user may change
// it meanwhile, but only while the entry there still has the name the walk is at: once an entry
// was added or removed, the marks no longer belong to the names, and the walk ends. The checked
// servers that did not answer the echo are asked after the others, all at once.
std::optional<Found> Walk(const SyncRun& run, TCPIP& tcpip, RunState& state,
                          const ServerCollection& names, bool& abandoned) {
  std::vector<std::pair<std::size_t, Target>> silent;  // with their places in the list
  for (std::size_t position = 0; position < names.size(); ++position) {
    if (!Yield(run, abandoned)) return std::nullopt;
    if (!ListStillHolds(run.lstServer, position, names[position])) return std::nullopt;
    if (!run.lstServer.Selected(static_cast<int>(position))) continue;
    if (PastDeadline(run, state)) return std::nullopt;
    Target target{names[position], ""};
    const Echo echo = EchoOf(run, tcpip, state, target);
    if (echo == Echo::Silent) silent.emplace_back(position, target);
    if (echo != Echo::Answered) continue;
    if (auto time = Fetch(run, tcpip, state, target)) return Found{target.server, *time};
  }
  if (silent.empty() || PastDeadline(run, state) || !Yield(run, abandoned)) return std::nullopt;
  // Those the user unchecked or removed meanwhile are not asked.
  std::vector<Target> targets;
  for (const auto& [position, target] : silent) {
    if (!ListStillHolds(run.lstServer, position, target.server)) return std::nullopt;
    if (run.lstServer.Selected(static_cast<int>(position))) targets.push_back(target);
  }
  return AskWithoutEcho(run, state, tcpip.GetIPaddress(), targets);
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
    TCPIP tcpip(os.sockets, os.icmp, run.toolkit.Texts(), os.clock);
    if (tcpip.GetIPaddress().empty()) return EndWithoutTime(run, text::kNoValidLocalAddress);
    RunState state;
    state.deadlineUs = os.clock.MonotonicMicroseconds() + kRunDeadlineUs;
    if (!serverName.empty()) {
      found = AskOne(run, tcpip, state, serverName);
    } else {
      const ServerCollection names = run.servers;
      bool abandoned = false;
      found = Walk(run, tcpip, state, names, abandoned);
      if (abandoned) return SyncOutcome::NoTime;
    }
    if (!found && PastDeadline(run, state)) run.log.WriteLog(Text(run, text::kRunTookTooLong));
  }  // the connection is closed before the clock is touched
  if (!found) return EndWithoutTime(run, text::kNoTimeReceived);
  if (run.fetched != nullptr) *run.fetched = found->fetched;

  const std::string oldTime = os.clock.NowText();
  const ClockSetting setting =
      SetClock(found->fetched, run.lblStatus, run.toolkit.Texts(), os.clock);
  run.log.WriteLog(Text(run, text::kConnectedTo) + " " + found->server +
                   ProtocolSuffix(found->fetched.protocol));
  const std::string offset = ClockOffsetLine(run.toolkit.Texts(), found->fetched, setting.offsetUs);
  if (setting.change == ClockChange::Refused) {
    // The refusal is what the status label now says; it names no server, the line before does.
    run.log.WriteLog(run.lblStatus.Caption());
    run.log.WriteLog(offset);
    return SyncOutcome::Refused;
  }
  run.log.WriteLog(Text(run, text::kClockAdjusted) + " " + Text(run, text::kFrom) + " " + oldTime +
                   " " + Text(run, text::kTo) + " " + os.clock.NowText());
  run.log.WriteLog(offset);
  return SyncOutcome::ClockSet;
}

}  // namespace vekhor
