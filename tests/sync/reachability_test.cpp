// The checks before a server is asked: local address choice, the echo check, the connected state.
#include "sync/reachability.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_sockets.h"
#include "net/tcpip.h"
#include "net/ws1.h"

namespace vekhor {
namespace {

struct Reachability : ::testing::Test {
  fakes::FakeSockets sockets;
  fakes::FakeIcmp icmp;
  CatalogueTexts texts{Language::English};
};

TEST_F(Reachability, LocalAddressIsTheFirstUsableOfAtMostTwoEntries) {
  TCPIP tcpip(sockets, icmp, texts);
  EXPECT_EQ(tcpip.GetIPaddress(), "");  // the host name does not resolve
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

TEST(LocalAddressRules, PrivateRangesAreNotUsable) {
  for (const char* usable : {"172.15.0.1", "172.32.0.1", "172.5.0.1", "100.1.2.3", "127.0.0.1",
                             "62.20.1.5", "192.169.0.1"}) {
    EXPECT_TRUE(IsUsableLocalAddress(usable)) << usable;
  }
  for (const char* unusable : {"172.16.0.1", "172.31.255.255", "172.200.0.1", "90.1.2.3",
                               "10.0.0.1", "169.254.1.1", "192.168.1.1"}) {
    EXPECT_FALSE(IsUsableLocalAddress(unusable)) << unusable;
  }
}

TEST(DottedToAddress, FirstComponentIsTheLowestByte) {
  EXPECT_EQ(DottedToAddress("192.168.1.10"), 0x0A01A8C0u);
  EXPECT_EQ(DottedToAddress("127.0.0.1"), 0x0100007Fu);
  EXPECT_EQ(DottedToAddress("256.1.2.3"), 0x03020100u);  // modulo 256
  EXPECT_EQ(DottedToAddress("1.2.3.4.5"), 0x04030201u);
  EXPECT_FALSE(DottedToAddress("1.2.3"));
  EXPECT_FALSE(DottedToAddress("a.b.c.d"));
  EXPECT_FALSE(DottedToAddress(""));
}

// A success is an answer even under a millisecond; every handle and start-up is released.
TEST_F(Reachability, OnlyAnEchoReplyWithSuccessIsAnAnswer) {
  sockets.AddHost(sockets.hostName, {"62.20.1.5"});
  sockets.AddHost("time.example", {"127.0.0.1", "127.0.0.2"});
  TCPIP tcpip(sockets, icmp, texts);
  const auto pingWith = [&](platform::EchoResult reply) {
    icmp.reply = reply;
    return tcpip.Ping("time.example");
  };
  EXPECT_EQ(pingWith({1, platform::kIpSuccess, 37}), 37);
  EXPECT_EQ(pingWith({1, platform::kIpSuccess, 0}), 1);
  EXPECT_EQ(icmp.lastDestination, 0x0100007Fu);  // the first address
  EXPECT_EQ(icmp.lastData, "Echo This");
  EXPECT_EQ(icmp.lastTimeout, 200u);
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

}  // namespace
}  // namespace vekhor
