// Setting the clock from an answer: what the user sees on success and on a bad answer (a refused
// change is seen through a whole run, in sync_run_test.cpp).
#include "sync/set_clock.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"

namespace vekhor {
namespace {

using fakes::HeadlessLabel;
using fakes::HeadlessToolkit;
using fakes::RecordingClock;

const std::string kApril2004("\xC4\x22\x60\x40", 4);

TEST(SetClock, SetsUtcAndShowsTheSuccessLineWithTheTimeReadAfterwards) {
  for (const Language language : {Language::English, Language::Swedish}) {
    HeadlessToolkit toolkit(language);
    RecordingClock clock;
    HeadlessLabel status;
    ASSERT_EQ(SetClock(kApril2004, status, toolkit, clock), ClockChange::Set);
    ASSERT_EQ(clock.set.size(), 1u);
    EXPECT_EQ(clock.set[0].year, 2004);
    EXPECT_EQ(clock.set[0].hour, 12);
    EXPECT_EQ(clock.set[0].dayOfWeek, 0);
    EXPECT_EQ(clock.set[0].milliseconds, 0);
    EXPECT_EQ(status.caption,
              std::string(CatalogueText(text::kClockSynchronised, language)) + " " + clock.now);
    EXPECT_TRUE(toolkit.boxes.empty());
  }
}

TEST(SetClock, AnAnswerAfterThe2036WrapSetsTheClockAfterIt) {
  HeadlessToolkit toolkit;
  RecordingClock clock;
  HeadlessLabel status;
  ASSERT_EQ(SetClock(std::string("\x00\x00\x00\x05", 4), status, toolkit, clock), ClockChange::Set);
  ASSERT_EQ(clock.set.size(), 1u);
  EXPECT_EQ(clock.set[0].year, 2036);
  EXPECT_EQ(clock.set[0].second, 21);
}

// Unattended (close mode), nobody could press OK: no box at all.
TEST(SetClock, AnAnswerThatIsNoTimeShowsTheInvalidAnswerBoxUnlessUnattendedAndChangesNothing) {
  for (const bool unattended : {false, true}) {
    for (const std::string& answer :
         {std::string("\xC4\x22\x60", 3), std::string("\xC4\x22\x60\x40\x00", 5), std::string()}) {
      HeadlessToolkit toolkit;
      RecordingClock clock;
      HeadlessLabel status;
      status.caption = "before";
      EXPECT_EQ(SetClock(answer, status, toolkit, clock, unattended), ClockChange::InvalidAnswer);
      EXPECT_TRUE(clock.set.empty());
      EXPECT_EQ(status.caption, "before");
      ASSERT_EQ(toolkit.boxes.size(), unattended ? 0u : 1u);
      if (unattended) continue;
      EXPECT_EQ(toolkit.boxes[0].prompt, "NTP Server returned an invalid response.");
      EXPECT_EQ(toolkit.boxes[0].style, app::kMsgBoxCritical);
    }
  }
}

}  // namespace
}  // namespace vekhor
