// The bundled time server as its users see it through the real socket backend: ctest runs one
// behaviour around each case (see CMakeLists.txt beside this file).
#include <gtest/gtest.h>

#include <string>

#include "platform/sockets.h"
#include "platform/system.h"
#include "support/time_server.h"

namespace vekhor {
namespace {

struct TimeServer : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  platform::Sockets& sockets = system->platform().sockets;
  platform::SocketHandle s = platform::kInvalidSocket;

  void SetUp() override {
    VEKHOR_REQUIRE_TIME_SERVER();
    platform::SocketsInfo info;
    ASSERT_EQ(sockets.Startup(0x0101, info), 0);
    s = sockets.Socket(platform::kAfInet, platform::kSockStream, 0);
    ASSERT_NE(s, platform::kInvalidSocket);
  }
  void TearDown() override {
    if (s == platform::kInvalidSocket) return;
    sockets.CloseSocket(s);
    sockets.Cleanup();
  }
  int Connect() {
    const auto port = static_cast<std::uint16_t>(test::TimeServerPort());
    return sockets.Connect(
        s, {platform::kAfInet, platform::HostToNetworkShort(port), sockets.InetAddr("127.0.0.1")});
  }
  // Everything until the server closes, a few seconds at most.
  std::string ReadAll() {
    std::string all;
    char buffer[4096];
    while (sockets.SelectReadable(s, 5, 0) > 0) {
      const int n = sockets.Recv(s, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      all.append(buffer, static_cast<std::size_t>(n));
    }
    return all;
  }
};

TEST_F(TimeServer, RefusesConnectionsWhenToldTo) {
  EXPECT_EQ(Connect(), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEconnrefused);
}

TEST_F(TimeServer, SendsTheGivenBytesExactlyThenCloses) {
  ASSERT_EQ(Connect(), 0);
  EXPECT_EQ(ReadAll(), std::string("\x00\xFF\x7F\x80\x0A", 5));
}

}  // namespace
}  // namespace vekhor
