// Decoding RFC 868 answers, and setting the clock from one (a refusal: sync_run_test.cpp).
#include "sync/time_answer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "sync/set_clock.h"

namespace vekhor {
namespace {

using namespace std::string_view_literals;

std::string Text(const platform::SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.milliseconds);
  return text;
}

// Only four bytes are an answer: the rows with no time are not.
TEST(TimeAnswer, FourBytesGiveTheirUtcTimeAndThoseBelowThe1921AnswerComeAfterThe2036Wrap) {
  const struct {
    std::string_view bytes;
    const char* utc;
  } answers[] = {
      {"\xC4\x22\x60\x40"sv, "2004-04-10 12:00:00.000"},
      {"\xA9\x49\x1C\x00"sv, "1990-01-01 00:00:00.000"},
      {"\xBC\x65\x8A\x80"sv, "2000-02-29 00:00:00.000"},  // a century year that is a leap year
      {"\xFF\xFF\xFF\xFF"sv, "2036-02-07 06:28:15.000"},
      {"\x29\x49\x1C\x00"sv, "1921-12-13 20:45:52.000"},  // the earliest before the wrap
      {"\x00\x00\x00\x00"sv, "2036-02-07 06:28:16.000"},
      {"\x00\x00\x00\x01"sv, "2036-02-07 06:28:17.000"},
      {"\x29\x49\x1B\xFF"sv, "2058-01-19 03:14:07.000"},  // the last after it
      {""sv, ""},
      {"\xC4\x22\x60"sv, ""},
      {"\xC4\x22\x60\x40\x00"sv, ""},
  };
  for (const auto& [bytes, utc] : answers) {
    SCOPED_TRACE(bytes.size());
    const auto decoded = DecodeTimeAnswer(bytes);
    EXPECT_EQ(decoded ? Text(*decoded) : "", utc);
  }
  // Line feed, carriage return and blank are ordinary bytes, never text.
  EXPECT_EQ(TimeValue("\x00\x0A\x0D\x20"sv), 0x000A0D20u);
}

TEST(SetClock, SetsUtcAndShowsTheSuccessLineOfItsLanguageWithTheTimeReadAfterwards) {
  for (const Language language : {Language::English, Language::Swedish}) {
    fakes::HeadlessToolkit toolkit(language);
    fakes::RecordingClock clock;
    clock.nowOnceSet = "2004-04-10 12:00:00";
    fakes::HeadlessLabel status;
    ASSERT_EQ(SetClock(std::string("\xC4\x22\x60\x40"sv), status, toolkit, clock),
              ClockChange::Set);
    ASSERT_EQ(clock.set.size(), 1u);
    EXPECT_EQ(clock.set[0], *DecodeTimeAnswer(std::string("\xC4\x22\x60\x40"sv)));
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
    EXPECT_EQ(SetClock(std::string("\xC4\x22\x60"), status, toolkit, clock, unattended),
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
