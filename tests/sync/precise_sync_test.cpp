// Whole runs over the fake network, whose time moves on by exactly what the network takes: how
// close to the server's clock the clock lands by each protocol, near and far, when a right clock
// is left alone, when SNTP is asked, and how often one address is asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "sync/sync_scene.h"

namespace vekhor {
namespace {

using test::Scene;
using Tcp = fakes::FakePeer::Tcp;

constexpr std::int64_t kSecond = 1000000;

// The echo starts at the scene's start, then the connect: the Time-protocol server sends 1.5
// round trips after that.
void SendAtPointOfSecond(Scene& scene, std::int64_t pointUs, std::int64_t roundTripUs) {
  const std::int64_t start = scene.clock.time.trueUs / kSecond * kSecond + 10 * kSecond;
  scene.clock.time.trueUs = start + pointUs - roundTripUs * 3 / 2 - 1000;
}

TEST(PreciseSync, TheTimeProtocolLandsWithinHalfASecondWhereverInItsSecondTheServerSent) {
  for (const std::int64_t roundTrip : {2000, 300000}) {
    std::int64_t worst = 0;
    for (std::int64_t point = 50000; point <= 950000; point += 100000) {
      SCOPED_TRACE(testing::Message() << "round trip " << roundTrip << ", sent at " << point);
      Scene t;
      t.AddServer({"time.example"}).roundTripUs = roundTrip;
      SendAtPointOfSecond(t, point, roundTrip);
      ASSERT_EQ(t.Sync(), SyncOutcome::ClockSet);
      ASSERT_EQ(t.clock.set.size(), 1u);
      const std::int64_t off = t.LandedOffByUs(t.sockets.Peer("127.0.0.1"));
      EXPECT_LT(std::abs(off), kSecond / 2);
      worst = std::max(worst, std::abs(off));
    }
    EXPECT_EQ(worst, 450000) << "the middle of the second, at most 0.45 s from 0.05 or 0.95";
  }
}

// Windows' clock keeps within a second on its own: an hourly run must not pull it about.
TEST(PreciseSync, AClockWithinTheAnswersSecondIsLeftAloneAndCountsAsSet) {
  Scene t;
  t.AddServer({"time.example"});
  t.clock.time.localErrorUs = 300000;
  EXPECT_EQ(t.Sync(), SyncOutcome::ClockSet);
  EXPECT_TRUE(t.clock.set.empty());
  EXPECT_EQ(t.lblStatus.caption, "Clock synchronised succesfully 2026-12-01 13:59:58");
  EXPECT_EQ(t.Logged(), (std::vector<std::string>{
                            "Connected to time.example",
                            "Clock adjusted from 2026-12-01 13:59:58 to 2026-12-01 13:59:58",
                            "The clock was 0.3 s fast (Time protocol, round trip 2 ms)"}));
  // Beyond half a second and half the round trip, the answer says the clock is wrong.
  t.clock.time.Advance(4 * kSecond);
  t.clock.time.localErrorUs = -600000;
  EXPECT_EQ(t.Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(t.clock.set.size(), 1u);
}

TEST(PreciseSync, WhereNothingServesPort37TheSameAddressIsAskedBySntpAndLandsOnItsClock) {
  for (const Tcp tcp : {Tcp::Refuses, Tcp::Drops}) {
    for (const std::int64_t roundTrip : {2000, 300000}) {
      SCOPED_TRACE(testing::Message() << "round trip " << roundTrip);
      Scene t;
      fakes::FakePeer& server = t.AddServer({"ntp.example", test::SntpOnly});
      server.tcp = tcp;
      server.roundTripUs = roundTrip;
      server.clockOffsetUs = 250000;
      ASSERT_EQ(t.Sync(), SyncOutcome::ClockSet);
      ASSERT_EQ(t.clock.set.size(), 1u);
      EXPECT_LE(std::abs(t.LandedOffByUs(server)), 500) << "within the millisecond it is set to";
      EXPECT_EQ(t.sockets.datagramsTo, std::vector<std::uint32_t>{0x0100007F});
      EXPECT_EQ(t.sockets.lookups["ntp.example"], 1) << "the echo, port 37 and SNTP share it";
      const std::vector<std::string> logged = t.Logged();
      ASSERT_EQ(logged.size(), 3u);
      EXPECT_EQ(logged[0], "Connected to ntp.example (SNTP)");
      EXPECT_EQ(logged[2], "The clock was 7.250 s slow (SNTP, round trip " +
                               std::to_string(roundTrip / 1000) + " ms)");
    }
  }
}

// A kiss-o'-death is logged with its code and the run asks that server no more; a reply to
// another request, or one whose times cannot be now, passes the server and the walk goes on.
TEST(PreciseSync, SntpRepliesThatDoNotCountPassTheServerAndAKissSilencesItForTheRun) {
  Scene t;
  const auto sntp = [&](const std::string& name, std::function<void(std::string&)> edit) {
    t.AddServer({name, test::SntpOnly}).udp = [edit](const std::string& request, std::int64_t us) {
      return std::optional<std::string>(test::SntpReplyTo(request, us, edit));
    };
  };
  sntp("kod.example", [](std::string& r) {
    r[1] = 0;
    r.replace(12, 4, "RATE");
  });
  sntp("origin.example", [](std::string& r) { r[30] ^= 0x40; });
  sntp("1990.example",
       [](std::string& r) { r.replace(40, 8, test::NtpBytes(2840140800LL * kSecond)); });
  // Taken in an hour after it was sent: a broken server, whose offset would be half an hour off.
  sntp("backwards.example", [](std::string& r) {
    r.replace(32, 8, test::NtpBytes(fakes::kFakeTrueStartUs + 3600 * kSecond));
  });
  t.AddServer({"silent.example", test::Refuses});
  t.servers->push_back("kod.example");  // listed again
  t.lstServer.AddItem("kod.example");
  t.lstServer.items.back().checked = true;
  t.AddServer({"ntp.example", test::SntpOnly});
  EXPECT_EQ(t.Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(t.Logged(),
            (std::vector<std::string>{
                "The server refused: kod.example (RATE)", "Implausible time from 1990.example",
                "Implausible time from backwards.example", "Connected to ntp.example (SNTP)",
                "Clock adjusted from 2026-12-01 13:59:58 to 2026-12-01 14:00:00",
                "The clock was 7.000 s slow (SNTP, round trip 2 ms)"}));
  EXPECT_EQ(std::count(t.sockets.datagramsTo.begin(), t.sockets.datagramsTo.end(), 0x0100007Fu), 1);
  EXPECT_EQ(t.sockets.datagramsTo.size(), 6u);
  EXPECT_TRUE(t.sockets.open.empty());
  EXPECT_EQ(t.sockets.StartupCount(), 0);
}

// A server that takes the connection and closes it, or says nothing, has said "no time" in its
// own protocol: it is not asked again by another.
TEST(PreciseSync, AServerThatTakesTheConnectionButGivesNoTimeIsNotAskedBySntp) {
  Scene t;
  t.AddServer({"closes.example", test::Answers, ""}).udp = [](const std::string& request,
                                                              std::int64_t us) {
    return std::optional<std::string>(test::SntpReplyTo(request, us));
  };
  t.AddServer({"time.example"});
  EXPECT_EQ(t.Sync(), SyncOutcome::ClockSet);
  EXPECT_TRUE(t.sockets.datagramsTo.empty());
  EXPECT_EQ(t.Logged().at(0), "Connected to time.example");
}

// NIST turns away a client that asks again within 4 s; the runs of the button, the activation
// and the timer can meet.
TEST(PreciseSync, NoAddressIsAskedAgainWithin4SecondsByAnyRunOfTheProcess) {
  Scene t;
  t.AddServer({"a.example"});
  t.AddServer({"b.example", test::SntpOnly});
  ASSERT_EQ(t.Sync(), SyncOutcome::ClockSet);
  t.clock.time.Advance(3 * kSecond);
  ASSERT_EQ(t.Sync(), SyncOutcome::ClockSet);
  ASSERT_EQ(t.Sync("a.example"), SyncOutcome::NoTime);
  t.clock.time.Advance(kSecond);
  ASSERT_EQ(t.Sync("a.example"), SyncOutcome::ClockSet);
  std::vector<std::string> connected;
  for (const std::string& line : t.Logged()) {
    if (line.rfind("Connected", 0) == 0 || line.rfind("Asked", 0) == 0) connected.push_back(line);
  }
  EXPECT_EQ(connected, (std::vector<std::string>{
                           "Connected to a.example", "Asked less than 4 seconds ago: a.example",
                           "Connected to b.example (SNTP)",
                           "Asked less than 4 seconds ago: a.example", "Connected to a.example"}));
}

}  // namespace
}  // namespace vekhor
