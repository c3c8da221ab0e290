#include "app/run_schedule.h"

namespace vekhor::app {

bool RunSchedule::Tick(std::int64_t nowUs) {
  const bool woke = resumed_ || (lastTickUs_ >= 0 && nowUs - lastTickUs_ > kWakeGapUs);
  lastTickUs_ = nowUs;
  resumed_ = false;
  if (woke) return true;
  // The retries replace the hourly count while they last.
  if (retry_ >= 0) return --minutesToRetry_ <= 0;
  if (++ticks_ < kTicksPerHour) return false;
  ticks_ = 0;
  return true;
}

void RunSchedule::RunEnded(bool gotTime, bool cameByItself) {
  if (gotTime) {
    if (retry_ >= 0) ticks_ = 0;
    retry_ = -1;
    return;
  }
  if (!cameByItself) return;
  if (++retry_ >= kRetries) {  // the last retry failed too: the hour again
    retry_ = -1;
    ticks_ = 0;
    return;
  }
  minutesToRetry_ = 1 << retry_;
}

// The timer does not tick while the option is off: the gap until it is on again is no sleep.
void RunSchedule::Stopped() {
  retry_ = -1;
  resumed_ = false;
  lastTickUs_ = -1;
}

}  // namespace vekhor::app
