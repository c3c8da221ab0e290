// Setting the clock from an answer: what the user sees on success and on a bad answer (a refused
// change is seen through a whole run, in sync_run_test.cpp).
#include "sync/set_clock.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

TEST(SetClock, SetsUtcAndShowsTheSuccessLineOfItsLanguageWithTheTimeReadAfterwards) {
  for (const Language language : {Language::English, Language::Swedish}) {
    fakes::HeadlessToolkit toolkit(language);
    fakes::RecordingClock clock;
    clock.nowOnceSet = "2004-04-10 12:00:00";
    fakes::HeadlessLabel status;
    ASSERT_EQ(SetClock(std::string("\xC4\x22\x60\x40", 4), status, toolkit, clock),
              ClockChange::Set);
    ASSERT_EQ(clock.set.size(), 1u);
    EXPECT_EQ(clock.set[0], *DecodeTimeAnswer(std::string("\xC4\x22\x60\x40", 4)));
    EXPECT_EQ(status.caption, std::string(CatalogueText(text::kClockSynchronised, language)) +
                                  " 2004-04-10 12:00:00");
    EXPECT_TRUE(toolkit.boxes.empty());
  }
}

// Unattended (close mode), nobody could press OK: no box at all.
TEST(SetClock, AnAnswerThatIsNoTimeShowsTheInvalidAnswerBoxUnlessUnattendedAndChangesNothing) {
  for (const bool unattended : {false, true}) {
    fakes::HeadlessToolkit toolkit;
    fakes::RecordingClock clock;
    fakes::HeadlessLabel status;
    status.caption = "before";
    EXPECT_EQ(SetClock(std::string("\xC4\x22\x60", 3), status, toolkit, clock, unattended),
              ClockChange::InvalidAnswer);
    EXPECT_TRUE(clock.set.empty());
    EXPECT_EQ(status.caption, "before");
    ASSERT_EQ(toolkit.boxes.size(), unattended ? 0u : 1u);
    if (unattended) continue;
    EXPECT_EQ(toolkit.boxes[0].prompt, "NTP Server returned an invalid response.");
    EXPECT_EQ(toolkit.boxes[0].style, app::kMsgBoxCritical);
  }
}

}  // namespace
}  // namespace vekhor
