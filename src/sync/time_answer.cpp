#include "sync/time_answer.h"

namespace vekhor {
namespace {

// Days from 1970-01-01 to a civil date and back, proleptic Gregorian.
struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

constexpr std::int64_t kUnixSecondsAt1990 = 631152000;
constexpr std::int64_t kSecondsPerEra = std::int64_t{1} << 32;

}  // namespace

std::optional<std::uint32_t> TimeValue(std::string_view answer) {
  if (answer.size() != 4) return std::nullopt;
  std::uint32_t value = 0;
  for (const char byte : answer) value = (value << 8) | static_cast<unsigned char>(byte);
  return value;
}

std::optional<std::int64_t> SecondsSince1900(std::string_view answer) {
  const auto value = TimeValue(answer);
  if (!value) return std::nullopt;
  // Since 2036-02-07 every correct answer has wrapped below the earliest 1921 one.
  return static_cast<std::int64_t>(*value) + (*value < kEarliestAnswer ? kSecondsPerEra : 0);
}

bool IsPlausibleTime(std::string_view answer, std::int64_t earliest) {
  const auto seconds = SecondsSince1900(answer);
  return seconds && *TimeValue(answer) != 0 && *seconds >= earliest;
}

std::optional<platform::SystemTime> DecodeTimeAnswer(std::string_view answer) {
  const auto secondsSince1900 = SecondsSince1900(answer);
  if (!secondsSince1900) return std::nullopt;
  const std::int64_t unixSeconds =
      kUnixSecondsAt1990 + *secondsSince1900 - static_cast<std::int64_t>(kSecondsFrom1900To1990);
  const std::int64_t days = unixSeconds >= 0 ? unixSeconds / 86400 : (unixSeconds - 86399) / 86400;
  const std::int64_t secondOfDay = unixSeconds - days * 86400;
  const CivilDate date = CivilFromDays(days);

  platform::SystemTime time;
  time.year = static_cast<std::uint16_t>(date.year);
  time.month = static_cast<std::uint16_t>(date.month);
  time.day = static_cast<std::uint16_t>(date.day);
  time.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
  time.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
  time.second = static_cast<std::uint16_t>(secondOfDay % 60);
  return time;
}

}  // namespace vekhor
