#include "sync/set_clock.h"

#include <cstdio>
#include <cstdlib>

#include "sync/utc_time.h"

namespace vekhor {
namespace {

// `us` in seconds with `decimals` places (3 or 1), rounded half away from zero.
std::string Seconds(std::int64_t us, int decimals) {
  const std::int64_t unit = decimals == 3 ? 1000 : 100000;
  const std::int64_t count = (us + unit / 2) / unit;
  const std::int64_t scale = decimals == 3 ? 1000 : 10;
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%0*lld", static_cast<long long>(count / scale), decimals,
                static_cast<long long>(count % scale));
  return text;
}

}  // namespace

ClockSetting SetClock(const FetchedTime& fetched, toolkit::Label& lblStatus,
                      const TextSource& texts, platform::Clock& clock) {
  const std::int64_t serverNow = fetched.ServerUsAt(clock.MonotonicMicroseconds());
  const std::int64_t localNow = UtcNowUs(clock);
  ClockSetting setting;
  setting.offsetUs = serverNow - localNow;
  if (std::abs(setting.offsetUs) <= fetched.uncertaintyUs) {
    setting.change = ClockChange::AlreadyRight;
  } else if (clock.SetSystemTime(SystemTimeOf(serverNow)) != 0) {
    // Not a modal box: hourly and /close runs must not stop on it.
    lblStatus.SetCaption(texts.LoadResString(text::kClockNotSet));
    setting.change = ClockChange::Refused;
    return setting;
  }
  lblStatus.SetCaption(texts.LoadResString(text::kClockSynchronised) + " " + clock.NowText());
  return setting;
}

std::string ClockOffsetLine(const TextSource& texts, const FetchedTime& fetched,
                            std::int64_t offsetUs) {
  const bool sntp = fetched.protocol == TimeProtocol::Sntp;
  // A positive offset: the server is ahead, so the clock was behind.
  const std::string direction =
      texts.LoadResString(offsetUs >= 0 ? text::kClockSlow : text::kClockFast);
  const std::string protocol = sntp ? "SNTP" : texts.LoadResString(text::kTimeProtocol);
  return texts.LoadResString(text::kClockWas) + " " + Seconds(std::abs(offsetUs), sntp ? 3 : 1) +
         " s " + direction + " (" + protocol + ", " + texts.LoadResString(text::kRoundTrip) + " " +
         std::to_string((fetched.roundTripUs + 500) / 1000) + " ms)";
}

std::string ProtocolSuffix(TimeProtocol protocol) {
  return protocol == TimeProtocol::Sntp ? " (SNTP)" : "";
}

}  // namespace vekhor
