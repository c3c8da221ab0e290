// The run of the program's /close as administrator, which the window offers once Windows refused
// a clock change for want of the right to set the clock: what the window hands over to it, what
// that run does with it, and what the window then shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/shell.h"
#include "res/catalogue.h"
#include "sync/fetched_time.h"

namespace vekhor::app {

// The time the window's run fetched, handed over: the server's time at a reading of the
// system-wide monotonic clock, which the elevated run reads too. It runs as whoever gave the
// consent, perhaps another account with other servers, and the server was asked a moment ago:
// it sets the clock from this and asks no server.
struct HandOver {
  std::int64_t serverUs = 0;  // microseconds since 1900
  std::int64_t atMonotonicUs = 0;
};

// Older than this, a hand-over is refused: the window fetches the time again first.
inline constexpr std::int64_t kHandOverLifetimeUs = 5 * 60 * 1000000LL;

HandOver HandOverOf(const FetchedTime& fetched);
bool IsFresh(const HandOver& handOver, std::int64_t nowMonotonicUs);

// "/close /time:<server>@<monotonic>": close mode, with the hand-over.
std::string AdministratorRunArguments(const HandOver& handOver);
// The hand-over on a command line; nothing where there is none or it cannot be read.
std::optional<HandOver> HandOverIn(std::string_view arguments);

// The elevated run's work: the clock set to the handed-over time plus what has elapsed since.
// Its exit status: 0 set, 1 a hand-over too old or not a time after `buildDay`, 2 refused.
int SetClockFromHandOver(const HandOver& handOver, platform::Clock& clock, std::int64_t buildDay);

// The status line for how the run went: its exit status 0 (the clock set, with the time now),
// 1 (no time), 2 (refused even so), or the consent refused.
std::string AdministratorRunStatus(const platform::ElevatedRun& run, const TextSource& texts,
                                   platform::Clock& clock);

}  // namespace vekhor::app
