// When the runs that come by themselves happen while "Synchronize once an hour" is on: every
// 60th tick of the one-minute timer; after a run that got no time, again after 1, 2, 4, 8, 16
// and 32 minutes instead, as the network is often not up yet at logon; and at the first tick
// after the computer wakes, when the clock is most wrong.
#pragma once

#include <cstdint>

namespace vekhor::app {

class RunSchedule {
 public:
  // A tick of the one-minute timer at `nowUs` on a monotonic clock that counts the time asleep:
  // whether a run is due. A gap of more than two minutes since the last tick is a wake-up,
  // for the sleep that Windows tells no program about (Modern Standby).
  bool Tick(std::int64_t nowUs);
  // Windows says it woke from sleep or hibernation: a run at the next tick.
  void Resumed() { resumed_ = true; }
  // A run ended. One that got a time, set or refused, ends the retries and the hour counts from
  // it. One that came by itself and got none starts the retries or waits twice as long; a failed
  // run that the user asked for leaves them as they are.
  void RunEnded(bool gotTime, bool cameByItself);
  // The hourly option went off: no retries wait.
  void Stopped();

 private:
  static constexpr int kTicksPerHour = 60;
  static constexpr int kRetries = 6;  // after 1, 2, 4, 8, 16 and 32 minutes
  static constexpr std::int64_t kWakeGapUs = 2 * 60 * 1000000LL;

  std::int16_t ticks_ = 0;  // toward the hour; kept while the option is off
  int retry_ = -1;          // the retry waited for, from 0; -1 for none
  int minutesToRetry_ = 0;
  bool resumed_ = false;
  std::int64_t lastTickUs_ = -1;
};

}  // namespace vekhor::app
