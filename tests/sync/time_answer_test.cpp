// Decoding RFC 868 answers into UTC calendar times.
#include "sync/time_answer.h"

#include <gtest/gtest.h>

namespace vekhor {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string answer;
  for (const int v : values) answer += static_cast<char>(v);
  return answer;
}

platform::SystemTime Utc(int year, int month, int day, int hour, int minute, int second) {
  platform::SystemTime t;
  t.year = static_cast<std::uint16_t>(year);
  t.month = static_cast<std::uint16_t>(month);
  t.day = static_cast<std::uint16_t>(day);
  t.hour = static_cast<std::uint16_t>(hour);
  t.minute = static_cast<std::uint16_t>(minute);
  t.second = static_cast<std::uint16_t>(second);
  return t;
}

TEST(TimeAnswer, KnownAnswersGiveTheirDates) {
  EXPECT_EQ(TimeValue(Bytes({0xC4, 0x22, 0x60, 0x40})), 3290587200u);
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0xC4, 0x22, 0x60, 0x40})), Utc(2004, 4, 10, 12, 0, 0));
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0xA9, 0x49, 0x1C, 0x00})), Utc(1990, 1, 1, 0, 0, 0));
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0xFF, 0xFF, 0xFF, 0xFF})), Utc(2036, 2, 7, 6, 28, 15));
  // The leap day of a century year that is a leap year.
  const std::uint32_t leapDay2000 = 3160771200u;  // 2000-02-29 00:00:00
  EXPECT_EQ(DecodeTimeAnswer(Bytes(
                {static_cast<int>(leapDay2000 >> 24), static_cast<int>((leapDay2000 >> 16) & 255),
                 static_cast<int>((leapDay2000 >> 8) & 255), static_cast<int>(leapDay2000 & 255)})),
            Utc(2000, 2, 29, 0, 0, 0));
}

TEST(TimeAnswer, OnlyFourBytesAreAnAnswer) {
  EXPECT_FALSE(DecodeTimeAnswer(""));
  EXPECT_FALSE(DecodeTimeAnswer(Bytes({0xC4, 0x22, 0x60})));
  EXPECT_FALSE(DecodeTimeAnswer(Bytes({0xC4, 0x22, 0x60, 0x40, 0x00})));
  EXPECT_FALSE(DecodeTimeAnswer(std::string(10000, 'A')));
  // NUL, line feed, carriage return and blank are ordinary bytes, never text.
  EXPECT_EQ(TimeValue(Bytes({0x00, 0x0A, 0x0D, 0x20})), 0x000A0D20u);
}

TEST(TimeAnswer, AnswersBelowThe1921OneAreTheSecondsAfterThe2036Wrap) {
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0x29, 0x49, 0x1C, 0x00})), Utc(1921, 12, 13, 20, 45, 52));
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0x00, 0x00, 0x00, 0x00})), Utc(2036, 2, 7, 6, 28, 16));
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0x00, 0x00, 0x00, 0x01})), Utc(2036, 2, 7, 6, 28, 17));
  EXPECT_EQ(DecodeTimeAnswer(Bytes({0x29, 0x49, 0x1B, 0xFF})), Utc(2058, 1, 19, 3, 14, 7));
}

}  // namespace
}  // namespace vekhor
