#include "app/administrator_run.h"

#include <charconv>

#include "sync/utc_time.h"

namespace vekhor::app {
namespace {

constexpr std::string_view kTimeSwitch = "/time:";

bool ReadNumber(std::string_view text, std::int64_t& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

HandOver HandOverOf(const FetchedTime& fetched) {
  return {fetched.serverUs, fetched.atMonotonicUs};
}

bool IsFresh(const HandOver& handOver, std::int64_t nowMonotonicUs) {
  const std::int64_t age = nowMonotonicUs - handOver.atMonotonicUs;
  return age >= 0 && age <= kHandOverLifetimeUs;
}

std::string AdministratorRunArguments(const HandOver& handOver) {
  return "/close " + std::string(kTimeSwitch) + std::to_string(handOver.serverUs) + "@" +
         std::to_string(handOver.atMonotonicUs);
}

std::optional<HandOver> HandOverIn(std::string_view arguments) {
  const std::size_t at = arguments.find(kTimeSwitch);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view value = arguments.substr(at + kTimeSwitch.size());
  value = value.substr(0, value.find_first_of(" \t/"));
  const std::size_t separator = value.find('@');
  HandOver handOver;
  if (separator == std::string_view::npos ||
      !ReadNumber(value.substr(0, separator), handOver.serverUs) ||
      !ReadNumber(value.substr(separator + 1), handOver.atMonotonicUs)) {
    return std::nullopt;
  }
  return handOver;
}

int SetClockFromHandOver(const HandOver& handOver, platform::Clock& clock, std::int64_t buildDay) {
  const std::int64_t now = clock.MonotonicMicroseconds();
  const std::int64_t serverNow = handOver.serverUs + (now - handOver.atMonotonicUs);
  // Within the 136 years that a time fetched after the build can lie in.
  const std::int64_t earliest = buildDay * kMicrosecondsPerSecond;
  if (!IsFresh(handOver, now) || serverNow < earliest ||
      serverNow - earliest > kSecondsPerEra * kMicrosecondsPerSecond) {
    return 1;
  }
  return clock.SetSystemTime(SystemTimeOf(serverNow)) == 0 ? 0 : 2;
}

std::string AdministratorRunStatus(const platform::ElevatedRun& run, const TextSource& texts,
                                   platform::Clock& clock) {
  using Outcome = platform::ElevatedRun::Outcome;
  if (run.outcome == Outcome::Cancelled) return texts.LoadResString(text::kAdministratorCancelled);
  if (run.outcome != Outcome::Ended) return texts.LoadResString(text::kClockNotSet);
  switch (run.exitStatus) {
    case 0:
      return texts.LoadResString(text::kClockSynchronised) + " " + clock.NowText();
    case 2:
      return texts.LoadResString(text::kClockNotSet);
    default:  // 1, or a run that ended some other way: no time came
      return texts.LoadResString(text::kNoTimeReceived);
  }
}

}  // namespace vekhor::app
