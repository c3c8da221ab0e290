#include "sync/run_steps.h"

#include <random>

#include "platform/clock.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

void LogImplausible(const SyncRun& run, const std::string& server) {
  run.log.WriteLog(Text(run, text::kImplausibleTimeFrom) + " " + server);
}

}  // namespace

std::string Text(const SyncRun& run, int number) {
  return run.toolkit.Texts().LoadResString(number);
}

std::optional<FetchedTime> TimeFromAnswer(const SyncRun& run, const std::string& server,
                                          const std::string& answer, std::int64_t connectUs,
                                          std::int64_t arrivalUs) {
  if (answer.size() != 4 || answer == Text(run, text::kCouldNotMakeConnection) || arrivalUs < 0) {
    return std::nullopt;
  }
  // A clock that has never been set, or a server gone wrong, answers with a time the program
  // cannot be running at: 1990, or the all-zero count.
  if (!IsPlausibleTime(answer, run.buildDay)) {
    LogImplausible(run, server);
    return std::nullopt;
  }
  return FromTimeAnswer(*SecondsSince1900(answer, run.buildDay), connectUs, arrivalUs);
}

std::optional<FetchedTime> TimeFromSntp(const SyncRun& run, RunState& state, const Target& target,
                                        const SntpOutcome& outcome) {
  switch (outcome.kind) {
    case SntpOutcome::Kind::Time:
      return outcome.fetched;
    case SntpOutcome::Kind::KissOfDeath:
      state.kissed.insert(target.address);
      run.log.WriteLog(Text(run, text::kServerRefused) + " " + target.server + " (" +
                       outcome.kissCode + ")");
      break;
    case SntpOutcome::Kind::Implausible:
      LogImplausible(run, target.server);
      break;
    case SntpOutcome::Kind::NoTime:
      break;
  }
  return std::nullopt;
}

bool MayAsk(const SyncRun& run, const RunState& state, const Target& target) {
  if (state.kissed.contains(target.address)) return false;
  if (run.guard.MayAsk(target.address, run.platform.clock.MonotonicMicroseconds())) return true;
  run.log.WriteLog(Text(run, text::kAskedMomentsAgo) + " " + target.server);
  return false;
}

std::uint32_t RandomBits(platform::Clock& clock) {
  try {
    return std::random_device{}();
  } catch (...) {  // no source of randomness: the clock's own low bits still change every time
    return static_cast<std::uint32_t>(clock.PreciseFileTime() ^ clock.MonotonicMicroseconds());
  }
}

}  // namespace vekhor
