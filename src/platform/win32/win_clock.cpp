#include "platform/win32/win_clock.h"

#include <windows.h>

#include <array>

#include "platform/win32/system_time_privilege.h"

namespace vekhor::platform {
namespace {

std::string DatePart(const SYSTEMTIME& local) {
  std::array<char, 128> text{};
  const int written = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr,
                                       text.data(), static_cast<int>(text.size()));
  return written > 0 ? std::string(text.data()) : std::string();
}

std::string TimePart(const SYSTEMTIME& local) {
  std::array<char, 128> text{};
  const int written = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, text.data(),
                                       static_cast<int>(text.size()));
  return written > 0 ? std::string(text.data()) : std::string();
}

using PreciseTimeFunction = void WINAPI(FILETIME*);

}  // namespace

WinClock::WinClock() {
  // Windows 8 brought the precise reading; Windows 7 has only the 15.6 ms tick.
  if (const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll")) {
    preciseTime_ =
        reinterpret_cast<void*>(::GetProcAddress(kernel32, "GetSystemTimePreciseAsFileTime"));
  }
  LARGE_INTEGER frequency{};
  if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
    counterFrequency_ = frequency.QuadPart;
  }
}

std::int64_t WinClock::PreciseFileTime() {
  FILETIME now{};
  if (preciseTime_ != nullptr) {
    reinterpret_cast<PreciseTimeFunction*>(preciseTime_)(&now);
  } else {
    ::GetSystemTimeAsFileTime(&now);
  }
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                   now.dwLowDateTime);
}

std::int64_t WinClock::MonotonicMicroseconds() {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  // Whole seconds and the rest apart: counter * 1000000 overflows after 10.7 days of uptime with
  // the usual 10 MHz counter.
  const std::int64_t seconds = counter.QuadPart / counterFrequency_;
  const std::int64_t rest = counter.QuadPart % counterFrequency_;
  return seconds * 1000000 + rest * 1000000 / counterFrequency_;
}

std::uint32_t WinClock::SetSystemTime(const SystemTime& utc) {
  const SYSTEMTIME native{utc.year, utc.month,  utc.dayOfWeek, utc.day,
                          utc.hour, utc.minute, utc.second,    utc.milliseconds};
  const SystemTimePrivilege privilege;
  if (::SetSystemTime(&native)) return 0;
  const DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;  // 0 would read as success
}

std::string DateTimeText(const SystemTime& time) {
  const SYSTEMTIME local{time.year, time.month,  time.dayOfWeek, time.day,
                         time.hour, time.minute, time.second,    time.milliseconds};
  // The general date form drops a time of exactly midnight.
  if (local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0) return DatePart(local);
  return DatePart(local) + " " + TimePart(local);
}

std::string WinClock::DateText() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  return DatePart(local);
}

std::string WinClock::NowText() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  return DateTimeText({local.wYear, local.wMonth, local.wDayOfWeek, local.wDay, local.wHour,
                       local.wMinute, local.wSecond, local.wMilliseconds});
}

}  // namespace vekhor::platform
