// The connection primitives on a free loopback port, and the error texts real failures give.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_sockets.h"
#include "net/tcpip.h"
#include "platform/system.h"
#include "support/time_server.h"

namespace vekhor {
namespace {

struct Connection : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  fakes::CountingSockets sockets{system->platform().sockets};
  CatalogueTexts english{Language::English};
  TCPIP tcpip{sockets, system->platform().icmp, english};

  void SetUp() override {
    VEKHOR_REQUIRE_TIME_SERVER();
    tcpip.LocalHostIP("127.0.0.1");
    tcpip.RemoteHostIP("127.0.0.1");
    tcpip.RemotePort(test::TimeServerPort());
  }
  void TearDown() override {
    tcpip.ShutdownConnection();
    EXPECT_TRUE(sockets.open.empty());
    EXPECT_EQ(sockets.StartupCount(), 0);
  }
};

TEST_F(Connection, AFloodLeavesWhatLiesBeyond10000BytesUnread) {
  ASSERT_TRUE(tcpip.OpenConnection());
  ASSERT_TRUE(tcpip.IsDataAvailable());
  std::string data;
  std::int32_t received = 0;
  ASSERT_TRUE(tcpip.ReceiveData(data, received));
  EXPECT_EQ(received, 10000);
  EXPECT_EQ(data.size(), 10000u);
  ASSERT_TRUE(tcpip.IsDataAvailable());  // the rest is still waiting
  ASSERT_TRUE(tcpip.ReceiveData(data, received));
  EXPECT_EQ(received, 2000);
}

TEST_F(Connection, APeerClosingWithoutDataIsAnEmptySuccessfulRead) {
  ASSERT_TRUE(tcpip.OpenConnection());
  ASSERT_TRUE(tcpip.IsDataAvailable());
  std::string data = "stale";
  std::int32_t received = -1;
  EXPECT_TRUE(tcpip.ReceiveData(data, received));
  EXPECT_EQ(data, "");
  EXPECT_EQ(received, 0);
}

TEST_F(Connection, SilenceIsATimeOutThatRecordsNothing) {
  ASSERT_TRUE(tcpip.OpenConnection());
  EXPECT_FALSE(tcpip.IsDataAvailable());
  EXPECT_EQ(tcpip.LastErrorText(), "");
}

TEST_F(Connection, RealFailuresGiveTheirTexts) {
  EXPECT_FALSE(tcpip.OpenConnection());  // nothing listens
  EXPECT_EQ(tcpip.LastErrorCode(), 10061);
  EXPECT_EQ(tcpip.LastErrorText(),
            "Error in OpenConnection::connect\r\n"
            "WSAECONNREFUSED: The attempt to connect was forcefully rejected");

  // An address this machine does not have cannot be bound; nothing is sent.
  tcpip.LocalHostIP("203.0.113.7");
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorCode(), 10049);
  EXPECT_EQ(tcpip.LastErrorText(),
            "Error in OpenConnection::bind\r\n"
            "WSAEADDRNOTAVAIL: The specified address is not available from the local computer");
}

}  // namespace
}  // namespace vekhor
