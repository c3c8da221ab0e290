#include "sync/utc_time.h"

namespace vekhor {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysFrom1601To1900 = 109207;
// 1900-01-01 counted from 1970-01-01, for the civil-date arithmetic below.
constexpr std::int64_t kDaysFrom1970To1900 = -25567;

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

// Days from 1970-01-01 to a civil date and back, proleptic Gregorian.
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = FloorDivide(days, 146097);
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = FloorDivide(year, 400);
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

}  // namespace

std::int64_t MicrosecondsFromFileTime(std::int64_t fileTime) {
  return FloorDivide(fileTime, 10) - kDaysFrom1601To1900 * kSecondsPerDay * kMicrosecondsPerSecond;
}

std::int64_t UtcNowUs(platform::Clock& clock) {
  return MicrosecondsFromFileTime(clock.PreciseFileTime());
}

platform::SystemTime SystemTimeOf(std::int64_t microsecondsSince1900) {
  const std::int64_t milliseconds = FloorDivide(microsecondsSince1900 + 500, 1000);
  const std::int64_t seconds = FloorDivide(milliseconds, 1000);
  const std::int64_t days = FloorDivide(seconds, kSecondsPerDay);
  const std::int64_t secondOfDay = seconds - days * kSecondsPerDay;
  const CivilDate date = CivilFromDays(days + kDaysFrom1970To1900);

  platform::SystemTime time;
  time.year = static_cast<std::uint16_t>(date.year);
  time.month = static_cast<std::uint16_t>(date.month);
  time.day = static_cast<std::uint16_t>(date.day);
  time.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
  time.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
  time.second = static_cast<std::uint16_t>(secondOfDay % 60);
  time.milliseconds = static_cast<std::uint16_t>(milliseconds - seconds * 1000);
  return time;
}

std::int64_t MicrosecondsOf(const platform::SystemTime& utc) {
  const std::int64_t days = DaysFromCivil(utc.year, utc.month, utc.day) - kDaysFrom1970To1900;
  const std::int64_t seconds =
      days * kSecondsPerDay + utc.hour * 3600 + utc.minute * 60 + utc.second;
  return seconds * kMicrosecondsPerSecond + utc.milliseconds * 1000;
}

std::int64_t SecondsInEraNearest(std::uint32_t count, std::int64_t pivot) {
  // The era whose start lies within half an era below pivot - count.
  const std::int64_t era = FloorDivide(pivot - count + kSecondsPerEra / 2, kSecondsPerEra);
  return count + era * kSecondsPerEra;
}

}  // namespace vekhor
