// What the steps of one synchronization run share: what the run has learned so far, and how an
// answer by either protocol becomes a time or a log line.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "sync/fetched_time.h"
#include "sync/sntp_exchange.h"
#include "sync/sync_run.h"

namespace vekhor {

// Each name's address, looked up once, as a round-robin name (pool.ntp.org) gives another host
// at every lookup; the addresses that sent a kiss-o'-death, which the run asks no more; and when
// the run must end.
struct RunState {
  std::map<std::string, std::string> addresses;
  std::set<std::string> kissed;
  std::int64_t deadlineUs = 0;  // monotonic
};

struct Target {
  std::string server;
  std::string address;
};

struct Found {
  std::string server;
  FetchedTime fetched;
};

std::string Text(const SyncRun& run, int number);

// The time of an RFC 868 answer from a server that took the connection: nothing for an answer
// that is no time (logged where it names a time the program cannot be running at).
std::optional<FetchedTime> TimeFromAnswer(const SyncRun& run, const std::string& server,
                                          const std::string& answer, std::int64_t connectUs,
                                          std::int64_t arrivalUs);

// The time of an SNTP outcome; a kiss-o'-death is logged and silences the address for the run.
std::optional<FetchedTime> TimeFromSntp(const SyncRun& run, RunState& state, const Target& target,
                                        const SntpOutcome& outcome);

// Whether the run may ask `target` now: not silenced, not asked within 4 s (logged).
bool MayAsk(const SyncRun& run, const RunState& state, const Target& target);

// The low bits of an SNTP request's transmit timestamp, which its reply must echo.
std::uint32_t RandomBits(platform::Clock& clock);

}  // namespace vekhor
