#include "sync/set_clock.h"

#include "sync/time_answer.h"

namespace vekhor {

ClockChange SetClock(const std::string& answer, toolkit::Label& lblStatus,
                     toolkit::Toolkit& toolkit, platform::Clock& clock, bool unattended) {
  const auto utc = DecodeTimeAnswer(answer);
  if (!utc) {
    if (!unattended) {
      toolkit.MsgBox(toolkit.Texts().LoadResString(text::kInvalidResponse),
                     toolkit::kMsgBoxCritical);
    }
    return ClockChange::InvalidAnswer;
  }
  if (clock.SetSystemTime(*utc) != 0) {
    // Not a modal box: hourly and /close runs must not stop on it.
    lblStatus.SetCaption(toolkit.Texts().LoadResString(text::kClockNotSet));
    return ClockChange::Refused;
  }
  lblStatus.SetCaption(toolkit.Texts().LoadResString(text::kClockSynchronised) + " " +
                       clock.NowText());
  return ClockChange::Set;
}

}  // namespace vekhor
