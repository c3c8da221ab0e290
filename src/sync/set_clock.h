// Setting the system clock from a time server's answer.
#pragma once

#include <string>

#include "platform/clock.h"
#include "toolkit/toolkit.h"

namespace vekhor {

enum class ClockChange { Set, InvalidAnswer, Refused };

// Sets the clock in UTC from a 4-byte answer and shows the success line in `lblStatus`.
// An answer that cannot be a time shows the invalid-answer message box, unless the run is
// unattended (nobody would press OK; the caller logs it instead), and changes nothing; a clock
// change the system refuses shows why in `lblStatus`.
ClockChange SetClock(const std::string& answer, toolkit::Label& lblStatus,
                     toolkit::Toolkit& toolkit, platform::Clock& clock, bool unattended = false);

}  // namespace vekhor
