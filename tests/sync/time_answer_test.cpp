// Decoding RFC 868 answers, and setting the clock from one (a refusal: sync_run_test.cpp).
#include "sync/time_answer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "sync/set_clock.h"

namespace vekhor {
namespace {

// Four bytes written out, NULs included.
std::string Bytes(const char (&bytes)[5]) {
  return std::string(bytes, 4);
}

std::string Text(const platform::SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.milliseconds);
  return text;
}

TEST(TimeAnswer, FourBytesGiveTheirUtcTimeAndThoseBelowThe1921AnswerComeAfterThe2036Wrap) {
  const struct {
    const char bytes[5];
    const char* utc;
  } answers[] = {
      {"\xC4\x22\x60\x40", "2004-04-10 12:00:00.000"},
      {"\xA9\x49\x1C\x00", "1990-01-01 00:00:00.000"},
      {"\xBC\x65\x8A\x80", "2000-02-29 00:00:00.000"},  // a century year that is a leap year
      {"\xFF\xFF\xFF\xFF", "2036-02-07 06:28:15.000"},
      {"\x29\x49\x1C\x00", "1921-12-13 20:45:52.000"},  // the earliest before the wrap
      {"\x00\x00\x00\x00", "2036-02-07 06:28:16.000"},
      {"\x00\x00\x00\x01", "2036-02-07 06:28:17.000"},
      {"\x29\x49\x1B\xFF", "2058-01-19 03:14:07.000"},  // the last after it
  };
  for (const auto& [bytes, utc] : answers) {
    const auto decoded = DecodeTimeAnswer(Bytes(bytes));
    ASSERT_TRUE(decoded) << utc;
    EXPECT_EQ(Text(*decoded), utc);
  }
  // Line feed, carriage return and blank are ordinary bytes, never text.
  EXPECT_EQ(TimeValue(Bytes("\x00\x0A\x0D\x20")), 0x000A0D20u);
}

TEST(TimeAnswer, OnlyFourBytesAreAnAnswer) {
  for (const std::string& answer : {std::string(), std::string("\xC4\x22\x60"),
                                    Bytes("\xC4\x22\x60\x40") + '\0', std::string(10000, 'A')}) {
    EXPECT_FALSE(DecodeTimeAnswer(answer)) << answer.size() << " bytes";
  }
}

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
