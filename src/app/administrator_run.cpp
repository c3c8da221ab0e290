#include "app/administrator_run.h"

namespace vekhor::app {

std::string AdministratorRunStatus(const platform::ElevatedRun& run, const TextSource& texts,
                                   platform::Clock& clock) {
  using Outcome = platform::ElevatedRun::Outcome;
  if (run.outcome == Outcome::Cancelled) return texts.LoadResString(text::kAdministratorCancelled);
  if (run.outcome == Outcome::NotStarted) return texts.LoadResString(text::kClockNotSet);
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
