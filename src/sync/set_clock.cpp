#include "sync/set_clock.h"

#include "sync/time_answer.h"

namespace vekhor {

bool SetClock(const std::string& answer, app::Label& lblStatus, app::Toolkit& toolkit,
              platform::Clock& clock) {
  const auto utc = DecodeTimeAnswer(answer);
  if (!utc) {
    toolkit.MsgBox(toolkit.Texts().LoadResString(text::kInvalidResponse), app::kMsgBoxCritical);
    return false;
  }
  if (clock.SetSystemTime(*utc) != 0) {
    // Not a modal box: hourly and /close runs must not stop on it.
    lblStatus.SetCaption(toolkit.Texts().LoadResString(text::kClockNotSet));
    return false;
  }
  lblStatus.SetCaption(toolkit.Texts().LoadResString(text::kClockSynchronised) + " " +
                       clock.NowText());
  return true;
}

}  // namespace vekhor
