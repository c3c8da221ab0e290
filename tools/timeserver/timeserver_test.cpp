// The time server's pure parts: the behaviour grammar, the served clock's wire forms and the
// SNTP reply. The sockets and timing are tried against the built server on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "behaviour.h"
#include "served_clock.h"
#include "sntp_reply.h"

namespace timeserver {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

Behaviour Parsed(const std::string& text) {
  std::string error;
  const auto behaviour = ParseBehaviour(text, error);
  EXPECT_TRUE(behaviour) << text << ": " << error;
  return behaviour.value_or(Behaviour{});
}

TEST(BehaviourGrammar, ReadsModifiersInAnyOrderWithTheirDefaults) {
  const Behaviour time = Parsed("time");
  EXPECT_EQ(time.kind, Kind::Time);
  EXPECT_EQ(time.at, milliseconds(500));
  EXPECT_EQ(time.offset, nanoseconds(0));

  const Behaviour shifted = Parsed("time,offset=3,at=50");
  EXPECT_EQ(shifted.at, milliseconds(50));
  EXPECT_EQ(shifted.offset, seconds(3));
  EXPECT_EQ(Parsed("time,at=999,offset=-0.25").offset, milliseconds(-250));

  // The old spelling is the time with an offset, sent at the same point.
  const Behaviour old = Parsed("offset:60");
  EXPECT_EQ(old.kind, Kind::Time);
  EXPECT_EQ(old.offset, seconds(60));
  EXPECT_EQ(old.at, milliseconds(500));
  EXPECT_EQ(Parsed("offset:-2.5,at=0").offset, milliseconds(-2500));

  const Behaviour sntp = Parsed("sntp,round-trip=400,offset=2.5");
  EXPECT_EQ(sntp.kind, Kind::Sntp);
  EXPECT_EQ(sntp.roundTrip, milliseconds(400));
  EXPECT_EQ(sntp.offset, milliseconds(2500));
  EXPECT_EQ(Parsed("sntp-kod:RATE").bytes, "RATE");
  EXPECT_EQ(Parsed("bytes:000aFF").bytes, std::string("\x00\x0a\xff", 3));
  EXPECT_TRUE(IsSntp(Parsed("sntp-silence").kind));
  EXPECT_FALSE(IsSntp(Parsed("refuse").kind));
}

TEST(BehaviourGrammar, RefusesWhatNamesNoBehaviour) {
  for (const char* text : {"",
                           "times",
                           "time,",
                           "time,at",
                           "time,at=",
                           "time,at=1000",
                           "time,at=-1",
                           "time,at=5x",
                           "time,at=1,at=2",
                           "offset:60,offset=1",
                           "offset:",
                           "offset:1e3",
                           "time,offset=inf",
                           "time,offset=nan",
                           "time,offset=4294967296",
                           "time,offset=1-2",
                           "now,at=5",
                           "sntp,at=500",
                           "time,round-trip=10",
                           "sntp,round-trip=10001",
                           "sntp-kod",
                           "sntp-kod:",
                           "sntp-kod:RATES",
                           "sntp-kod:RA-E",
                           "sntp:1",
                           "bytes:0",
                           "bytes:0g",
                           "bytes:"}) {
    std::string error;
    EXPECT_FALSE(ParseBehaviour(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

// 2024-01-01T00:00:00Z, 3913056000 s after 1900.
constexpr seconds k2024(1704067200);

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) bytes += static_cast<char>(value);
  return bytes;
}

TEST(ServedClock, EncodesSecondsSince1900WithFractionAndEraWrap) {
  EXPECT_EQ(SecondsSince1900(k2024 + milliseconds(999)), 3913056000u);
  EXPECT_EQ(TimeProtocolBytes(k2024), Bytes({0xE9, 0x3C, 0x7F, 0x00}));
  EXPECT_EQ(NtpTimestamp(k2024 + milliseconds(500)),
            Bytes({0xE9, 0x3C, 0x7F, 0x00, 0x80, 0x00, 0x00, 0x00}));
  // Era 1 begins 2036-02-07T06:28:16Z: the seconds start again from zero.
  const seconds era1(4294967296 - 2208988800);
  EXPECT_EQ(NtpTimestamp(era1 + milliseconds(250)), Bytes({0, 0, 0, 0, 0x40, 0, 0, 0}));
  EXPECT_EQ(SecondsSince1900(era1 - nanoseconds(1)), 0xFFFFFFFFu);
  // Before 1970 (a large negative offset) the second is still the one the moment falls in.
  EXPECT_EQ(NtpTimestamp(milliseconds(-250)),
            Bytes({0x83, 0xAA, 0x7E, 0x7F, 0xC0, 0x00, 0x00, 0x00}));
}

TEST(ServedClock, SendPointIsTheNextPointOfTheSecondOrOneJustPassed) {
  const milliseconds grace(10);
  const auto at = [&](milliseconds now, milliseconds point) {
    return SendPoint(k2024 + now, point, grace) - k2024;
  };
  EXPECT_EQ(at(milliseconds(100), milliseconds(500)), milliseconds(500));
  EXPECT_EQ(at(milliseconds(500), milliseconds(500)), milliseconds(500));
  EXPECT_EQ(at(milliseconds(509), milliseconds(500)), milliseconds(500));  // at once
  EXPECT_EQ(at(milliseconds(511), milliseconds(500)), milliseconds(1500));
  EXPECT_EQ(at(milliseconds(995), milliseconds(990)), milliseconds(990));
  EXPECT_EQ(at(milliseconds(1003), milliseconds(995)), milliseconds(995));  // previous second's
  EXPECT_EQ(at(milliseconds(11), milliseconds(0)), milliseconds(1000));
  EXPECT_EQ(SendPoint(milliseconds(-2600), milliseconds(500), grace), milliseconds(-2500));
}

// A version-`version` request whose transmit timestamp is 0x01020304.05060708.
std::string Request(int version, char poll = 6) {
  std::string request(48, '\0');
  request[0] = static_cast<char>(version << 3 | 3);
  request[2] = poll;
  request.replace(40, 8, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
  return request;
}

std::string Reply(const std::string& behaviour, const std::string& request) {
  return SntpReply(request, Parsed(behaviour), k2024, k2024 + milliseconds(250));
}

TEST(SntpReply, AnswersOnlyClientRequests) {
  EXPECT_TRUE(IsClientRequest(Request(4)));
  EXPECT_TRUE(IsClientRequest(Request(3) + std::string(20, 'x')));  // extension fields
  EXPECT_FALSE(IsClientRequest(Request(4).substr(0, 47)));
  std::string server = Request(4);
  server[0] = static_cast<char>(4 << 3 | 4);
  EXPECT_FALSE(IsClientRequest(server));
}

TEST(SntpReply, CorrectReplyCopiesVersionPollAndOriginAndCarriesBothTimes) {
  for (const int version : {3, 4}) {
    const std::string reply = Reply("sntp", Request(version, 10));
    ASSERT_EQ(reply.size(), 48u);
    EXPECT_EQ(reply[0], static_cast<char>(version << 3 | 4)) << "LI 0, mode 4";
    EXPECT_EQ(reply[1], 2);
    EXPECT_EQ(reply[2], 10);
    EXPECT_EQ(reply[3], static_cast<char>(-20));
    EXPECT_EQ(reply.substr(12, 4), "LOCL");
    EXPECT_LT(reply.substr(16, 8), NtpTimestamp(k2024)) << "set a little before";
    EXPECT_EQ(reply.substr(24, 8), Request(version).substr(40, 8));
    EXPECT_EQ(reply.substr(32, 8), NtpTimestamp(k2024));
    EXPECT_EQ(reply.substr(40, 8), NtpTimestamp(k2024 + milliseconds(250)));
  }
}

TEST(SntpReply, FaultyRepliesDifferFromTheCorrectOneOnlyWhereMeant) {
  const std::string request = Request(4);
  const std::string correct = Reply("sntp", request);

  const std::string kiss = Reply("sntp-kod:RAT", request);
  EXPECT_EQ(kiss[0], static_cast<char>(3 << 6 | 4 << 3 | 4));
  EXPECT_EQ(kiss[1], 0);
  EXPECT_EQ(kiss.substr(12, 4), std::string("RAT\0", 4));
  EXPECT_EQ(kiss.substr(24, 8), correct.substr(24, 8));

  std::string leap = Reply("sntp-leap3", request);
  EXPECT_EQ(leap[0], static_cast<char>(3 << 6 | 4 << 3 | 4));
  leap[0] = correct[0];
  EXPECT_EQ(leap, correct);

  EXPECT_EQ(Reply("sntp-short", request), correct.substr(0, 40));

  std::string wrapping = request;
  wrapping.replace(40, 4, Bytes({1, 2, 0xFF, 0xFF}));
  const std::string wrong = Reply("sntp-wrong-origin", wrapping);
  EXPECT_EQ(wrong.substr(24, 8), Bytes({1, 3, 0, 0, 5, 6, 7, 8})) << "one second later";
  EXPECT_EQ(wrong.substr(32), Reply("sntp", wrapping).substr(32));
}

}  // namespace
}  // namespace timeserver
