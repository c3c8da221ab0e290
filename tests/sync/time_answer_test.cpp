// Decoding RFC 868 answers into UTC calendar times.
#include "sync/time_answer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

}  // namespace
}  // namespace vekhor
