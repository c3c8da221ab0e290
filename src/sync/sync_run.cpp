#include "sync/sync_run.h"

#include <cstddef>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <utility>

#include "net/tcpip.h"
#include "platform/clock.h"
#include "sync/fetched_time.h"
#include "sync/reachability.h"
#include "sync/set_clock.h"
#include "sync/sntp_exchange.h"
#include "sync/sntp_packet.h"
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

// What a run learns as it goes: each name's address, looked up once, as a round-robin name
// (pool.ntp.org) gives another host at every lookup; and the addresses that sent a
// kiss-o'-death, which the run asks no more.
struct RunState {
  std::map<std::string, std::string> addresses;
  std::set<std::string> kissed;
};

std::string AddressOf(TCPIP& tcpip, RunState& state, const std::string& server) {
  const auto known = state.addresses.find(server);
  if (known != state.addresses.end()) return known->second;
  tcpip.NameLookup(server);
  std::string address = tcpip.addresses().empty() ? "" : tcpip.addresses().front();
  state.addresses.emplace(server, address);
  return address;
}

// The low bits of an SNTP request's transmit timestamp, which its reply must echo.
std::uint32_t RandomBits(platform::Clock& clock) {
  try {
    return std::random_device{}();
  } catch (...) {  // no source of randomness: the clock's own low bits still change every time
    return static_cast<std::uint32_t>(clock.PreciseFileTime() ^ clock.MonotonicMicroseconds());
  }
}

void LogImplausible(const SyncRun& run, const std::string& server) {
  run.log.WriteLog(Text(run, text::kImplausibleTimeFrom) + " " + server);
}

// The time from `address` by the Time protocol or, where nothing there serves it, by SNTP;
// nothing when it gives none.
std::optional<FetchedTime> Fetch(const SyncRun& run, TCPIP& tcpip, RunState& state,
                                 const std::string& server, const std::string& address) {
  platform::Clock& clock = run.platform.clock;
  if (state.kissed.contains(address)) return std::nullopt;
  const std::int64_t now = clock.MonotonicMicroseconds();
  if (!run.guard.MayAsk(address, now)) {
    run.log.WriteLog(Text(run, text::kAskedMomentsAgo) + " " + server);
    return std::nullopt;
  }
  const std::string answer = tcpip.SynchTime(address);
  const ExchangeTiming& timing = tcpip.LastExchange();
  if (timing.connected) {
    run.guard.Asked(address, now);
    // A server that took the connection has answered in its own protocol, with a time or not.
    if (!IsAcceptedAnswer(run, answer) || timing.arrivalUs < 0) return std::nullopt;
    // A clock that has never been set, or a server gone wrong, answers with a time the program
    // cannot be running at: 1990, or the all-zero count.
    if (!IsPlausibleTime(answer, run.buildDay)) {
      LogImplausible(run, server);
      return std::nullopt;
    }
    return FromTimeAnswer(*SecondsSince1900(answer, run.buildDay), timing.connectUs,
                          timing.arrivalUs);
  }
  // Nothing serves port 37 there, as with most servers today: the same address by SNTP.
  run.guard.Asked(address, clock.MonotonicMicroseconds());
  const SntpOutcome sntp =
      AskSntp(run.platform.sockets, clock, address, kSntpPort, run.buildDay, RandomBits(clock));
  switch (sntp.kind) {
    case SntpOutcome::Kind::Time:
      return sntp.fetched;
    case SntpOutcome::Kind::KissOfDeath:
      state.kissed.insert(address);
      run.log.WriteLog(Text(run, text::kServerRefused) + " " + server + " (" + sntp.kissCode + ")");
      return std::nullopt;
    case SntpOutcome::Kind::Implausible:
      LogImplausible(run, server);
      return std::nullopt;
    case SntpOutcome::Kind::NoTime:
      break;
  }
  return std::nullopt;
}

struct Found {
  std::string server;
  FetchedTime fetched;
};

// The server's time when it answers the echo and gives a time that can be now; nothing
// otherwise. An empty name (an entry whose stored name could not be read) would be looked up as
// this machine: it is never asked.
std::optional<Found> Ask(const SyncRun& run, TCPIP& tcpip, RunState& state,
                         const std::string& server) {
  if (server.empty()) return std::nullopt;
  const std::string address = AddressOf(tcpip, state, server);
  if (address.empty() || tcpip.Ping(address) <= 0) {
    run.log.WriteLog(Text(run, text::kNoResponseFrom) + " " + server);
    return std::nullopt;
  }
  auto fetched = Fetch(run, tcpip, state, server, address);
  if (!fetched) return std::nullopt;
  return Found{server, *fetched};
}

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
std::optional<Found> Walk(const SyncRun& run, TCPIP& tcpip, RunState& state,
                          const ServerCollection& names, bool& abandoned) {
  for (std::size_t position = 0; position < names.size(); ++position) {
    run.toolkit.DoEvents();
    if (run.unloading && run.unloading()) {
      abandoned = true;
      return std::nullopt;
    }
    const std::string& server = names[position];
    if (!ListStillHolds(run.lstServer, position, server)) return std::nullopt;
    if (!run.lstServer.Selected(static_cast<int>(position))) continue;
    if (auto found = Ask(run, tcpip, state, server)) return found;
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
    TCPIP tcpip(os.sockets, os.icmp, run.toolkit.Texts(), os.clock);
    if (tcpip.GetIPaddress().empty()) return EndWithoutTime(run, text::kNoValidLocalAddress);
    RunState state;
    if (!serverName.empty()) {
      found = Ask(run, tcpip, state, serverName);
    } else {
      const ServerCollection names = run.servers;
      bool abandoned = false;
      found = Walk(run, tcpip, state, names, abandoned);
      if (abandoned) return SyncOutcome::NoTime;
    }
  }  // the connection is closed before the clock is touched
  if (!found) return EndWithoutTime(run, text::kNoTimeReceived);

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
