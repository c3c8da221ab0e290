// The arithmetic of time: the era of a 32-bit count, what an SNTP reply says, and how the log puts
// the offset. The offsets themselves are checked end to end, over the fake network.
#include <gtest/gtest.h>

#include <cstdio>

#include "fakes/headless_toolkit.h"
#include "sync/fetched_time.h"
#include "sync/set_clock.h"
#include "sync/sntp_packet.h"
#include "sync/sync_scene.h"
#include "sync/time_answer.h"
#include "sync/utc_time.h"

namespace vekhor {
namespace {

using namespace std::string_view_literals;

std::string Text(const platform::SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.milliseconds);
  return text;
}

// Seconds since 1900 of 2026-12-08, a build day.
constexpr std::int64_t kBuildDay = 4005676800;

// Each answer names the moment nearest the build day: a clock never set (1990, or zero) is not
// now, and the counts after the 2036 wrap go on for 68 years past the build.
TEST(TimeAnswer, FourBytesNameTheMomentNearestTheBuildDay) {
  const struct {
    std::string_view bytes;
    const char* utc;
    bool plausible;
  } answers[] = {
      {"\xA9\x49\x1C\x00"sv, "1990-01-01 00:00:00.000", false},  // not 2126
      {"\xEE\xC1\xC7\x00"sv, "2026-12-08 00:00:00.000", true},
      {"\xFF\xFF\xFF\xFF"sv, "2036-02-07 06:28:15.000", true},
      {"\x00\x00\x00\x00"sv, "2036-02-07 06:28:16.000", false},  // all zero is no clock
      {"\x00\x00\x00\x01"sv, "2036-02-07 06:28:17.000", true},
      {"\x29\x49\x1B\xFF"sv, "2058-01-19 03:14:07.000", true},   // past the old 1921 pivot
      {"\x6E\xC1\xC6\x00"sv, "2094-12-26 03:09:52.000", true},   // 68 years on
      {"\x6E\xC1\xC8\x00"sv, "1958-11-19 20:50:08.000", false},  // 68 years back
      {""sv, "", false},
      {"\xC4\x22\x60\x40\x00"sv, "", false},
  };
  for (const auto& [bytes, utc, plausible] : answers) {
    SCOPED_TRACE(utc);
    const auto seconds = SecondsSince1900(bytes, kBuildDay);
    EXPECT_EQ(seconds ? Text(SystemTimeOf(*seconds * 1000000)) : "", utc);
    EXPECT_EQ(IsPlausibleTime(bytes, kBuildDay), plausible);
  }
  // Line feed, carriage return and blank are ordinary bytes, never text.
  EXPECT_EQ(TimeValue("\x00\x0A\x0D\x20"sv), 0x000A0D20u);
}

// NTP timestamps keep the microsecond, in the era nearest the build day, past the 2036 wrap too.
TEST(SntpPacket, TimestampsKeepTheMicrosecondAcrossThe2036Wrap) {
  for (const std::int64_t us :
       {kBuildDay * 1000000 + 123456, (std::int64_t{1} << 32) * 1000000 + 5})
    EXPECT_EQ(MicrosecondsOfNtpTimestamp(NtpTimestampOf(us), kBuildDay), us);
}

// Only a reply to this very request, from a server that keeps time, gives a time; stratum 0 is
// a kiss-o'-death with its code.
TEST(SntpPacket, AReplyCountsOnlyWhenItAnswersThisRequestFromAServerThatKeepsTime) {
  const std::uint64_t sent = 0xEA0000000000ABCDull;
  const std::string request = SntpRequest(sent);
  const std::int64_t serverUs = kBuildDay * 1000000;
  const auto reply = [&](const std::function<void(std::string&)>& edit) {
    return ReadSntpReply(test::SntpReplyTo(request, serverUs, edit), sent);
  };
  using Kind = SntpReply::Kind;
  const SntpReply good = reply({});
  ASSERT_EQ(good.kind, Kind::Time);
  EXPECT_EQ(good.transmit >> 32, static_cast<std::uint32_t>(kBuildDay));
  EXPECT_EQ(reply([](std::string& r) { r[0] = '\x1C'; }).kind, Kind::Time);  // version 3
  EXPECT_EQ(ReadSntpReply(test::SntpReplyTo(request, serverUs) + "extension", sent).kind,
            Kind::Time);
  const struct {
    const char* name;
    std::function<void(std::string&)> edit;
  } noTime[] = {
      {"short", [](std::string& r) { r.resize(47); }},
      {"client mode", [](std::string& r) { r[0] = '\x23'; }},
      {"broadcast mode", [](std::string& r) { r[0] = '\x25'; }},
      {"version 2", [](std::string& r) { r[0] = '\x14'; }},
      {"another origin", [](std::string& r) { r[31] ^= 1; }},
      {"leap indicator 3", [](std::string& r) { r[0] = '\xE4'; }},
      {"stratum 16", [](std::string& r) { r[1] = 16; }},
      {"no transmit time", [](std::string& r) { r.replace(40, 8, 8, '\0'); }},
      {"no receive time", [](std::string& r) { r.replace(32, 8, 8, '\0'); }},
  };
  for (const auto& [name, edit] : noTime) EXPECT_EQ(reply(edit).kind, Kind::NoTime) << name;
  const SntpReply kiss = reply([](std::string& r) {
    r[1] = 0;
    r.replace(12, 4, "RATE");
  });
  EXPECT_EQ(kiss.kind, Kind::KissOfDeath);
  EXPECT_EQ(kiss.kissCode, "RATE");
  // A forged kiss (another origin) is no kiss: it does not silence the server.
  EXPECT_EQ(reply([](std::string& r) {
              r[1] = 0;
              r[31] ^= 1;
            }).kind,
            Kind::NoTime);
}

TEST(ClockOffsetLine, SaysHowFarWhichWayByWhichProtocolAndWithWhatRoundTrip) {
  const CatalogueTexts english(Language::English);
  const CatalogueTexts swedish(Language::Swedish);
  FetchedTime sntp;
  sntp.protocol = TimeProtocol::Sntp;
  sntp.roundTripUs = 23400;
  FetchedTime rfc868;
  rfc868.roundTripUs = 1600;
  EXPECT_EQ(ClockOffsetLine(english, sntp, 1234400),
            "The clock was 1.234 s slow (SNTP, round trip 23 ms)");
  EXPECT_EQ(ClockOffsetLine(english, sntp, -59999600),
            "The clock was 60.000 s fast (SNTP, round trip 23 ms)");
  EXPECT_EQ(ClockOffsetLine(english, rfc868, -651000),
            "The clock was 0.7 s fast (Time protocol, round trip 2 ms)");
  EXPECT_EQ(ClockOffsetLine(swedish, rfc868, 30000),
            "Klockan gick 0.0 s efter (Time-protokollet, tur och retur 2 ms)");
  EXPECT_EQ(ProtocolSuffix(TimeProtocol::Sntp), " (SNTP)");
  EXPECT_EQ(ProtocolSuffix(TimeProtocol::Rfc868), "");
}

}  // namespace
}  // namespace vekhor
