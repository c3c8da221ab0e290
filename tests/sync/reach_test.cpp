// Reaching the servers a user can reach: the echo orders the walk and vetoes no server, nothing
// waits without end, and a dead network stays cheap. Over the fake network, whose time moves on
// by exactly what the echoes and the network take.
#include <gtest/gtest.h>

#include <algorithm>

#include "sync/sync_scene.h"

namespace vekhor {
namespace {

using test::Scene;
constexpr std::int64_t kSecond = 1000000;

std::int64_t Elapsed(const Scene& scene, std::int64_t from) {
  return scene.clock.time.monotonicUs - from;
}

// Many networks drop the echo, and from Australia the US is 250 ms away: such a server is asked
// directly once none that answered the echo gave the time, and says so in the log.
TEST(Reach, ServersWhoseEchoIsLostOrLateAreAskedAfterTheOthersInListOrder) {
  Scene t;
  t.AddServer({"dead.example", test::Dead});
  t.AddServer({"filtered.example", test::NoEcho});
  t.AddServer({"far.example"});
  t.icmp.roundTripMs[t.sockets.InetAddr("127.0.0.3")] = 250;
  t.AddServer({"refuses.example", test::Refuses});
  const std::int64_t start = t.clock.time.monotonicUs;
  EXPECT_EQ(t.Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(t.Logged(),
            (std::vector<std::string>{
                "No response from dead.example", "No response from filtered.example",
                "No response from far.example", "Asked without an echo reply: dead.example",
                "Asked without an echo reply: filtered.example",
                "Asked without an echo reply: far.example", "Connected to filtered.example",
                "Clock adjusted from 2026-12-01 13:59:58 to 2026-12-01 14:00:00",
                "The clock was 7.4 s slow (Time protocol, round trip 2 ms)"}));
  // Three lost echoes of 200 ms, a second for the refusing server's SNTP reply, then a second
  // for the connects and one for the replies, whoever is dead among them.
  EXPECT_EQ(Elapsed(t, start), 3 * 200000 + 1000 + 2000 + 3 * kSecond);
  EXPECT_TRUE(t.sockets.open.empty());
  EXPECT_EQ(t.sockets.StartupCount(), 0);
}

// A double-click runs one server: its lost echo does not stop it either.
TEST(Reach, ANamedServerIsAskedDirectlyWhenItsEchoFails) {
  Scene t;
  t.AddServer({"filtered.example", test::NoEcho});
  EXPECT_EQ(t.Sync("filtered.example"), SyncOutcome::ClockSet);
  EXPECT_EQ(t.Logged().at(1), "Asked without an echo reply: filtered.example");
}

// Listed twice, or by name and by address, a server without an echo reply is asked once: all at
// once would be twice at the same moment.
TEST(Reach, AServerListedTwiceIsAskedOnceWithoutAnEchoReply) {
  Scene t;
  t.AddServer({"ntp.example", test::SntpOnly});
  t.icmp.silent.insert(t.sockets.InetAddr("127.0.0.1"));
  for (const char* again : {"ntp.example", "127.0.0.1"}) {
    t.servers->push_back(again);
    t.lstServer.AddItem(again);
    t.lstServer.items.back().checked = true;
  }
  EXPECT_EQ(t.Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(t.sockets.connects, 1);
  EXPECT_EQ(t.sockets.datagramsTo.size(), 1u);
  const std::vector<std::string> logged = t.Logged();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), "Asked less than 4 seconds ago: 127.0.0.1"),
            1);
}

// Twelve servers that drop everything: the lost echoes, then one second for all the connects and
// one for all the SNTP replies, not two seconds a server; the same when the last one answers.
TEST(Reach, ADeadNetworkCostsTheEchoesAndTwoSecondsAndLogsEveryServer) {
  for (const bool lastAnswers : {false, true}) {
    SCOPED_TRACE(lastAnswers);
    Scene t;
    for (int n = 1; n <= 12; ++n) {
      const bool answers = lastAnswers && n == 12;
      t.AddServer({"dead" + std::to_string(n) + ".example", answers ? test::NoEcho : test::Dead});
    }
    const std::int64_t start = t.clock.time.monotonicUs;
    EXPECT_EQ(t.Sync(), lastAnswers ? SyncOutcome::ClockSet : SyncOutcome::NoTime);
    EXPECT_EQ(Elapsed(t, start), 12 * 200000 + 2 * kSecond);
    const std::vector<std::string> logged = t.Logged();
    ASSERT_GE(logged.size(), 25u);
    EXPECT_EQ(logged[11], "No response from dead12.example");
    EXPECT_EQ(logged[23], "Asked without an echo reply: dead12.example");
    EXPECT_EQ(logged.back().substr(0, 13), lastAnswers ? "The clock was" : "No time serve");
    EXPECT_TRUE(t.sockets.open.empty());
    EXPECT_EQ(t.sockets.StartupCount(), 0);
  }
}

// Servers that answer the echo but whose firewall drops ports 37 and 123 cost two seconds each:
// the run ends at 20 s, says so, and asks nothing more.
TEST(Reach, ARunEndsAfter20SecondsWithoutATimeAndSaysSo) {
  Scene t;
  for (int n = 1; n <= 30; ++n) {
    t.AddServer({"walled" + std::to_string(n) + ".example"}).tcp = fakes::FakePeer::Tcp::Drops;
  }
  const std::int64_t start = t.clock.time.monotonicUs;
  EXPECT_EQ(t.Sync(), SyncOutcome::NoTime);
  EXPECT_GE(Elapsed(t, start), 20 * kSecond);
  EXPECT_LT(Elapsed(t, start), 23 * kSecond);
  const std::vector<std::string> logged = t.Logged();
  ASSERT_GE(logged.size(), 2u);
  EXPECT_EQ(logged[logged.size() - 2], "The run was ended after 20 seconds without a time.");
  EXPECT_EQ(logged.back(), "No time server gave the time.");
  EXPECT_EQ(t.sockets.connects, 10) << "two seconds each, then the deadline";
}

}  // namespace
}  // namespace vekhor
