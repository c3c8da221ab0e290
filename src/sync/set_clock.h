// Setting the system clock from a fetched time, and saying how far off it was.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "res/catalogue.h"
#include "sync/fetched_time.h"
#include "toolkit/toolkit.h"

namespace vekhor {

enum class ClockChange { Set, AlreadyRight, Refused };

struct ClockSetting {
  ClockChange change = ClockChange::Set;
  std::int64_t offsetUs = 0;  // the server's clock minus the local one, before the change
};

// Sets the clock in UTC, to the millisecond, to the server's time now, and shows the success
// line in `lblStatus`. A clock already as close as the exchange can tell is left alone and counts
// as set; a change the system refuses shows why in `lblStatus`.
ClockSetting SetClock(const FetchedTime& fetched, toolkit::Label& lblStatus,
                      const TextSource& texts, platform::Clock& clock);

// "The clock was 1.234 s slow (SNTP, round trip 23 ms)"; the Time protocol's to a tenth.
std::string ClockOffsetLine(const TextSource& texts, const FetchedTime& fetched,
                            std::int64_t offsetUs);

// The protocol as the log names it after a server: "" for the Time protocol, " (SNTP)".
std::string ProtocolSuffix(TimeProtocol protocol);

}  // namespace vekhor
