// The connection class against a scripted socket library: what is opened is closed, the
// start-up count stays balanced, and every failure leaves the right record.
#include "net/tcpip.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_sockets.h"

namespace vekhor {
namespace {

struct Tcpip : ::testing::Test {
  fakes::FakeSockets sockets;
  fakes::FakeIcmp icmp;
  CatalogueTexts texts{Language::English};

  void SetUp() override {
    sockets.AddHost(sockets.hostName, {"62.20.1.5"});
    sockets.AddHost("time.example", {"127.0.0.9", "127.0.0.10"});
  }
  static void AimAtLoopback(TCPIP& tcpip) {
    tcpip.LocalHostIP("127.0.0.1");
    tcpip.RemoteHostIP("127.0.0.1");
    tcpip.RemotePort(37);
  }
};

TEST_F(Tcpip, SynchTimeReturnsTheRawAnswerAndClosesEverything) {
  sockets.receiveData = std::string("\x00\x0A\x0D\xFF", 4);
  {
    TCPIP tcpip(sockets, icmp, texts);
    EXPECT_EQ(tcpip.SynchTime("time.example"), std::string("\x00\x0A\x0D\xFF", 4));
    EXPECT_TRUE(sockets.open.empty());
  }
  EXPECT_EQ(sockets.StartupCount(), 0);
  EXPECT_EQ(sockets.lastConnected.port, platform::HostToNetworkShort(37));
  EXPECT_EQ(sockets.lastConnected.address, 0x0900007Fu);  // the resolver's first address
  EXPECT_EQ(sockets.lastBound.address, 0x0501143Eu);      // 62.20.1.5, the local address
}

TEST_F(Tcpip, SynchTimeFailuresGiveTheirResultsAndLeaveNothingOpen) {
  struct Case {
    const char* name;
    void (*script)(fakes::FakeSockets&);
    std::string expected;
  };
  const Case cases[] = {
      {"refused", [](fakes::FakeSockets& s) { s.connectError = platform::wsa::kEconnrefused; },
       "Could not make connection"},
      {"no socket", [](fakes::FakeSockets& s) { s.socketFails = true; },
       "Could not make connection"},
      {"closed without data", [](fakes::FakeSockets& s) { s.receiveData.clear(); }, ""},
      {"silent", [](fakes::FakeSockets& s) { s.selectResult = 0; }, ""},
      {"select fails", [](fakes::FakeSockets& s) { s.selectResult = -1; }, ""},
      {"read fails", [](fakes::FakeSockets& s) { s.receiveFails = true; }, ""},
      {"unresolvable", [](fakes::FakeSockets& s) { s.hosts.erase("time.example"); }, ""},
  };
  for (const Case& c : cases) {
    fakes::FakeSockets fresh;
    fresh.hosts = sockets.hosts;
    fresh.receiveData = "abcd";
    c.script(fresh);
    TCPIP tcpip(fresh, icmp, texts);
    EXPECT_EQ(tcpip.SynchTime("time.example"), c.expected) << c.name;
    EXPECT_TRUE(fresh.open.empty()) << c.name;
    EXPECT_EQ(fresh.StartupCount(), 0) << c.name;
    EXPECT_TRUE(fresh.hosts.count("time.example") || fresh.connects == 0) << c.name;
  }
}

TEST_F(Tcpip, ASecondOpenClosesTheSocketTheFirstLeftBehind) {
  TCPIP tcpip(sockets, icmp, texts);
  AimAtLoopback(tcpip);
  sockets.connectError = platform::wsa::kEconnrefused;
  EXPECT_FALSE(tcpip.OpenConnection());  // the failed attempt keeps its socket
  EXPECT_EQ(sockets.open.size(), 1u);
  sockets.connectError = 0;
  EXPECT_TRUE(tcpip.OpenConnection());
  EXPECT_EQ(sockets.open.size(), 1u);
  EXPECT_EQ(sockets.StartupCount(), 1);
  tcpip.ShutdownConnection();
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);
}

// Handle 0 is standard input on POSIX: "no socket" must never reach close.
TEST_F(Tcpip, ShutdownAndTheObjectsEndCloseOnlyAConnectionStillOpen) {
  {
    TCPIP tcpip(sockets, icmp, texts);
    tcpip.ShutdownConnection();
    tcpip.ShutdownConnection();
    EXPECT_TRUE(sockets.closed.empty());
    AimAtLoopback(tcpip);
    ASSERT_TRUE(tcpip.OpenConnection());
  }
  EXPECT_EQ(sockets.closed.size(), 1u);
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);
}

TEST_F(Tcpip, FailuresAreRecordedWithContextAndReplaceTheLastRecord) {
  TCPIP tcpip(sockets, icmp, texts);
  AimAtLoopback(tcpip);
  sockets.connectError = platform::wsa::kEconnrefused;
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorCode(), 10061);
  EXPECT_EQ(tcpip.LastErrorText(),
            "Error in OpenConnection::connect\r\n"
            "WSAECONNREFUSED: The attempt to connect was forcefully rejected");

  tcpip.RemoteHostIP("255.255.255.255");  // equals INADDR_NONE
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorText().substr(0, tcpip.LastErrorText().find('\r')),
            "Error in OpenConnection::inet_addr=INADDR_NONE");

  tcpip.LocalHostIP("not an address");
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorText().substr(0, tcpip.LastErrorText().find('\r')),
            "Error in OpenConnection::inet_addr");

  sockets.startupResult = 10094;  // a code without a text of its own
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorCode(), 10094);
  EXPECT_EQ(
      tcpip.LastErrorText(),
      "Error in OpenConnection::WSAStartup\r\nCase unknown in TCPIP::SetLastErrorCode = 10094");
  sockets.startupResult = 0;
  tcpip.ShutdownConnection();
  EXPECT_EQ(sockets.StartupCount(), 0);
}

TEST_F(Tcpip, ReceiveTakesAtMost10000BytesAndKeepsEveryByte) {
  std::string everyByte;
  for (int i = 0; i < 256; ++i) everyByte += static_cast<char>(i);
  sockets.receiveData = everyByte;
  for (int i = 0; i < 50; ++i) sockets.receiveData += everyByte;  // 13056 bytes waiting
  TCPIP tcpip(sockets, icmp, texts);
  AimAtLoopback(tcpip);
  ASSERT_TRUE(tcpip.OpenConnection());
  std::string data;
  std::int32_t received = -1;
  ASSERT_TRUE(tcpip.ReceiveData(data, received));
  EXPECT_EQ(received, 10000);
  EXPECT_EQ(data, sockets.receiveData.substr(0, 10000));
}

TEST_F(Tcpip, NameLookupListsAllAddressesAndKeepsThemWhenStartUpFails) {
  TCPIP tcpip(sockets, icmp, texts);
  tcpip.NameLookup("time.example");
  EXPECT_EQ(tcpip.addresses(), (std::vector<std::string>{"127.0.0.9", "127.0.0.10"}));
  sockets.grantedInfo.version = 0x0001;  // 1.0 is too old
  tcpip.NameLookup("no.such.host");
  EXPECT_EQ(tcpip.addresses().size(), 2u);
  EXPECT_EQ(tcpip.LastStartupProblem(),
            "Windows Sockets Version 1.0 is Not supported by Windows Sockets For 32 bit Windows "
            "environments.");
  EXPECT_EQ(sockets.StartupCount(), 0);
  tcpip.NameLookup("");
  EXPECT_EQ(tcpip.addresses().size(), 2u);
}

}  // namespace
}  // namespace vekhor
