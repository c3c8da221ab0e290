#include "served_clock.h"

namespace timeserver {
namespace {

constexpr std::int64_t kSecondsFrom1900To1970 = 2208988800;

void AppendBigEndian(std::string& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
}

}  // namespace

ServedTime ServedNow(std::chrono::nanoseconds offset) {
  // system_clock is CLOCK_REALTIME: the wall clock a client compares with.
  return std::chrono::system_clock::now().time_since_epoch() + offset;
}

std::uint32_t SecondsSince1900(ServedTime time) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(time).count();
  return static_cast<std::uint32_t>(seconds + kSecondsFrom1900To1970);
}

std::string TimeProtocolBytes(ServedTime time) {
  std::string bytes;
  AppendBigEndian(bytes, SecondsSince1900(time));
  return bytes;
}

std::string NtpTimestamp(ServedTime time) {
  const auto within = time - std::chrono::floor<std::chrono::seconds>(time);  // [0, 1 s)
  const auto fraction =
      (static_cast<std::uint64_t>(within.count()) << 32) / std::uint64_t{1'000'000'000};
  std::string bytes;
  AppendBigEndian(bytes, SecondsSince1900(time));
  AppendBigEndian(bytes, static_cast<std::uint32_t>(fraction));
  return bytes;
}

ServedTime SendPoint(ServedTime now, std::chrono::milliseconds at, std::chrono::nanoseconds grace) {
  return std::chrono::ceil<std::chrono::seconds>(now - grace - at) + at;
}

}  // namespace timeserver
