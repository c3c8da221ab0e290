#include "sync/time_answer.h"

#include "sync/utc_time.h"

namespace vekhor {

std::optional<std::uint32_t> TimeValue(std::string_view answer) {
  if (answer.size() != 4) return std::nullopt;
  std::uint32_t value = 0;
  for (const char byte : answer) value = (value << 8) | static_cast<unsigned char>(byte);
  return value;
}

std::optional<std::int64_t> SecondsSince1900(std::string_view answer, std::int64_t buildDay) {
  const auto value = TimeValue(answer);
  if (!value) return std::nullopt;
  return SecondsInEraNearest(*value, buildDay);
}

bool IsPlausibleTime(std::string_view answer, std::int64_t buildDay) {
  const auto seconds = SecondsSince1900(answer, buildDay);
  return seconds && *TimeValue(answer) != 0 && *seconds >= buildDay;
}

}  // namespace vekhor
