// Synchronization over fakes: the checks before a server is asked and whole runs.
#include "sync/sync_run.h"

#include <gtest/gtest.h>

#include "net/tcpip.h"
#include "net/ws1.h"
#include "sync/reachability.h"
#include "sync/sync_scene.h"

namespace vekhor {
namespace {

using namespace std::string_view_literals;
using test::Answers;
using test::NoEcho;
using test::Refuses;
using test::Scene;
using test::Unchecked;

TEST(AddressText, PrivateRangesAreNotUsableAndTheFirstComponentIsTheLowestByte) {
  for (const char* usable : {"172.15.0.1", "172.32.0.1", "172.5.0.1", "100.1.2.3", "127.0.0.1",
                             "62.20.1.5", "192.169.0.1"}) {
    EXPECT_TRUE(IsUsableLocalAddress(usable)) << usable;
  }
  for (const char* unusable : {"172.16.0.1", "172.31.255.255", "172.200.0.1", "90.1.2.3",
                               "10.0.0.1", "169.254.1.1", "192.168.1.1"}) {
    EXPECT_FALSE(IsUsableLocalAddress(unusable)) << unusable;
  }
  EXPECT_EQ(DottedToAddress("192.168.1.10"), 0x0A01A8C0u);
  EXPECT_EQ(DottedToAddress("127.0.0.1"), 0x0100007Fu);
  EXPECT_EQ(DottedToAddress("256.1.2.3"), 0x03020100u);  // modulo 256
  EXPECT_EQ(DottedToAddress("1.2.3.4.5"), 0x04030201u);
  for (const char* no : {"1.2.3", "a.b.c.d", ""}) EXPECT_FALSE(DottedToAddress(no)) << no;
}

struct SyncRunTest : ::testing::Test, Scene {};

TEST_F(SyncRunTest, TheLocalAddressIsTheFirstUsableOfAtMostTwoEntries) {
  TCPIP tcpip{sockets, icmp, toolkit.Texts(), clock};
  DropLocalAddress();
  EXPECT_EQ(tcpip.GetIPaddress(), "");
  const auto localAddressOf = [&](const std::vector<std::string>& addresses) {
    sockets.AddHost(sockets.hostName, addresses);
    return tcpip.GetIPaddress();
  };
  EXPECT_EQ(localAddressOf({"10.1.2.3", "62.20.1.5"}), "62.20.1.5");
  EXPECT_EQ(localAddressOf({"192.168.0.5", "10.0.0.7"}), "192.168.0.5");
  EXPECT_EQ(localAddressOf({"192.168.0.5", "10.0.0.7", "62.20.1.5"}), "192.168.0.5");
  EXPECT_EQ(localAddressOf({"169.254.7.7"}), "169.254.7.7");
  EXPECT_EQ(localAddressOf({"127.0.0.1"}), "127.0.0.1");
  EXPECT_EQ(localAddressOf({}), "");
  // A resolvable name is no help when the socket library does not start.
  sockets.AddHost(sockets.hostName, {"62.20.1.5"});
  sockets.startupResult = platform::wsa::kNotinitialised;
  EXPECT_EQ(tcpip.GetIPaddress(), "");
  EXPECT_EQ(sockets.StartupCount(), 0);
}

// A success is an answer even under a millisecond; every handle and start-up is released.
TEST_F(SyncRunTest, OnlyAnEchoReplyWithSuccessIsAnAnswer) {
  TCPIP tcpip{sockets, icmp, toolkit.Texts(), clock};
  sockets.AddHost("time.example", {"127.0.0.1", "127.0.0.2"});
  const auto pingWith = [&](platform::EchoResult reply) {
    icmp.reply = reply;
    return tcpip.Ping("time.example");
  };
  EXPECT_EQ(pingWith({1, platform::kIpSuccess, 37}), 37);
  EXPECT_EQ(pingWith({1, platform::kIpSuccess, 0}), 1);
  EXPECT_EQ(icmp.lastDestination, 0x0100007Fu);  // the first address
  EXPECT_EQ(icmp.lastTimeoutMs, 200u);
  EXPECT_EQ(pingWith({1, platform::kIpDestHostUnreachable, 5}),
            -static_cast<std::int32_t>(platform::kIpDestHostUnreachable));
  EXPECT_EQ(pingWith({0, platform::kIpRequestTimedOut, 0}),
            -static_cast<std::int32_t>(platform::kIpRequestTimedOut));
  EXPECT_EQ(pingWith({0, 0, 0}), 0);
  EXPECT_EQ(icmp.opened, 5);
  EXPECT_EQ(icmp.closedHandles, 5);
  icmp.createFails = true;
  EXPECT_LE(pingWith({1, platform::kIpSuccess, 3}), 0);

  const int echoes = icmp.echoes;
  EXPECT_EQ(tcpip.Ping("no.such.host"), 0);
  EXPECT_EQ(icmp.echoes, echoes) << "an unresolvable server is not echoed";
  EXPECT_EQ(sockets.StartupCount(), 0);
}

TEST_F(SyncRunTest, AWalkLogsTheSilentCheckedServersThenSetsTheClockFromTheFirstAnswer) {
  AddServer({"silent.example", NoEcho});
  AddServer({"unchecked.example", Unchecked});
  AddServer({"time.example"});
  AddServer({"later.example"});
  EXPECT_EQ(Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(Logged(), (std::vector<std::string>{
                          "No response from silent.example", "Connected to time.example",
                          "Clock adjusted from 2026-12-01 13:59:58 to 2026-12-01 14:00:00",
                          "The clock was 6.8 s slow (Time protocol, round trip 2 ms)"}));
  EXPECT_EQ(lblStatus.caption, "Clock synchronised succesfully 2026-12-01 14:00:00");
  ASSERT_EQ(clock.set.size(), 1u);
  EXPECT_EQ(icmp.echoes, 2);  // neither the unchecked entry nor the one after the answer
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);

  // A named server is the only one asked, checked or not; the walk is not tried.
  icmp.echoes = 0;
  clock.time.Advance(4000000);  // not the same question within 4 s
  clock.time.localErrorUs = -7000000;
  EXPECT_EQ(Sync("unchecked.example"), SyncOutcome::ClockSet);
  EXPECT_EQ(icmp.echoes, 1);
  EXPECT_EQ(Logged().at(4), "Connected to unchecked.example");
}

// Unattended, as with /close: no message box either.
TEST(SyncRun, ARunThatSetsNoClockReplacesTheOldStatusAndLogsWhy) {
  const std::string noTime = "No time server gave the time.";
  const std::string offline = "You are not connected to Internet";
  const std::string noAddress = "No valid local IP address";
  const std::string refusal(CatalogueText(text::kClockNotSet, Language::English));
  struct Case {
    const char* name;
    std::vector<Scene::Server> servers;
    std::string status;
    int echoes;
    void (Scene::*arrange)() = nullptr;
    std::string named = "";
  };
  const Case cases[] = {
      {"not connected", {{"t.example"}}, offline, 0, &Scene::Disconnect},
      {"no local address", {{"t.example"}}, noAddress, 0, &Scene::DropLocalAddress},
      {"nothing checked", {{"t.example", Unchecked}}, noTime, 0},
      {"none answers at all", {{"a.example", test::Dead}, {"b.example", test::Dead}}, noTime, 2},
      {"no answer is a time",
       {{"five.example", Answers, "\xC4\x22\x60\x40\x00"},
        {"none", Answers, ""},
        {"refused", Refuses}},
       noTime,
       3},
      {"the named server fails", {{"t"}, {"named", Unchecked, ""}}, noTime, 1, nullptr, "named"},
      {"the clock refuses the change", {{"t.example"}}, refusal, 1, &Scene::RefuseClockChange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scene t;
    for (const Scene::Server& server : c.servers) t.AddServer(server);
    if (c.arrange != nullptr) (t.*c.arrange)();
    EXPECT_EQ(t.Sync(c.named), c.status == refusal ? SyncOutcome::Refused : SyncOutcome::NoTime);
    EXPECT_EQ(t.lblStatus.caption, c.status);
    // A refusal still tells how far off the clock is, after saying it.
    const std::vector<std::string> logged = t.Logged();
    const std::size_t fromEnd = c.status == refusal ? 2 : 1;
    ASSERT_GE(logged.size(), fromEnd);
    EXPECT_EQ(logged[logged.size() - fromEnd], c.status);
    EXPECT_EQ(t.icmp.echoes, c.echoes);
    EXPECT_EQ(t.clock.now, "2026-12-01 13:59:58") << "the clock is as it was";
    EXPECT_TRUE(t.toolkit.boxes.empty());
  }
}

TEST_F(SyncRunTest, AnExitDuringTheWalkEndsItWithoutTouchingWhatTheWindowFreed) {
  AddServer({"silent.example", NoEcho});
  AddServer({"time.example"});
  // The echo of the first server posts the exit; it runs in the walk's next DoEvents.
  icmp.onEcho = [this] {
    toolkit.pending.push_back([this] {
      unloading = true;
      lstServer.Clear();
      servers.reset();
    });
  };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_EQ(icmp.echoes, 1);
  EXPECT_EQ(lblStatus.changes, 0);
  EXPECT_EQ(Logged(), std::vector<std::string>{"No response from silent.example"});
  EXPECT_TRUE(clock.set.empty());
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);

  // A nested handler empties the list, the window stays: the walk reads no mark beyond its end.
  servers.emplace();
  AddServer({"silent.example", NoEcho});
  AddServer({"time.example"});
  unloading = false;
  icmp.onEcho = [this] { toolkit.pending.push_back([this] { lstServer.Clear(); }); };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_EQ(lblStatus.caption, "No time server gave the time.");
}

// A server whose clock was never set sends 1990, or nothing but zeros: the program cannot be
// running then. An entry whose name could not be read is empty, and the resolver would take it
// for this machine.
TEST_F(SyncRunTest, AnAnswerBeforeTheBuildDateOrAnEmptyNameIsPassedOverAndTheWalkGoesOn) {
  AddServer({"reset.example", Answers, std::string("\xA9\x49\x1C\x00"sv)});
  AddServer({"zero.example", Answers, std::string(4, '\0')});
  AddServer({"", Answers});
  sockets.AddHost("", {"62.20.1.5"});
  sockets.Peer("62.20.1.5").timeAnswer = test::TimeBytes;
  AddServer({"time.example"});
  EXPECT_EQ(Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(Logged(), (std::vector<std::string>{
                          "Implausible time from reset.example",
                          "Implausible time from zero.example", "Connected to time.example",
                          "Clock adjusted from 2026-12-01 13:59:58 to 2026-12-01 14:00:00",
                          "The clock was 7.0 s slow (Time protocol, round trip 2 ms)"}));
  EXPECT_EQ(icmp.echoes, 3) << "the empty name is never echoed";
  ASSERT_EQ(clock.set.size(), 1u);
  EXPECT_LE(std::abs(LandedOffByUs(sockets.Peer("127.0.0.4"))), 500000);
}

// The walk reads each mark live, but only while the entry still bears the name it is at: after
// a removal the marks belong to other servers, and the walk ends rather than ask an unchecked one.
TEST_F(SyncRunTest, AMarkChangedDuringTheWalkCountsAndARemovalEndsTheWalk) {
  AddServer({"silent.example", NoEcho});
  AddServer({"unchecked.example", Unchecked});
  AddServer({"time.example"});
  icmp.onEcho = [this] {
    toolkit.pending.push_back([this] {
      lstServer.RemoveItem(0);
      servers->erase(servers->begin());
    });
  };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_TRUE(clock.set.empty()) << "set from a server the user unchecked";
  EXPECT_EQ(icmp.echoes, 1);

  // Unchecked while the walk waits: passed over.
  lstServer.Clear();
  servers->clear();
  AddServer({"silent.example", test::Dead});
  AddServer({"time.example"});
  icmp.echoes = 0;
  icmp.onEcho = [this] { toolkit.pending.push_back([this] { lstServer.SetSelected(1, false); }); };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_EQ(icmp.echoes, 1);
  EXPECT_TRUE(clock.set.empty());
}

TEST_F(SyncRunTest, AWalkReachesACheckedEntryBeyond32767) {
  for (int n = 0; n < 39999; ++n) {
    servers->push_back("dead" + std::to_string(n) + ".example");
    lstServer.AddItem(servers->back());
  }
  AddServer({"last.example"});
  EXPECT_EQ(Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(Logged().at(0), "Connected to last.example");
}

}  // namespace
}  // namespace vekhor
