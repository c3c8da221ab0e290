// What the core relies on from the real socket and echo backends (POSIX natively, Win32 under
// Wine), on this machine only.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/icmp.h"
#include "platform/sockets.h"
#include "platform/system.h"

namespace vekhor {
namespace {

constexpr std::uint32_t kLoopback = 0x0100007F;  // 127.0.0.1, first component lowest

struct SystemBackend : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  platform::Sockets& sockets = system->platform().sockets;
  platform::Icmp& icmp = system->platform().icmp;
};

TEST_F(SystemBackend, VersionOnePointOneIsGrantedAndEveryStartupNeedsItsCleanup) {
  platform::SocketsInfo info;
  ASSERT_EQ(sockets.Startup(0x0101, info), 0);
  EXPECT_EQ(info.version, 0x0101);
  EXPECT_GE(info.maxSockets, 1);
  platform::SocketsInfo again;
  ASSERT_EQ(sockets.Startup(0x0101, again), 0);
  EXPECT_EQ(sockets.Cleanup(), 0);
  EXPECT_EQ(sockets.Cleanup(), 0);
}

TEST_F(SystemBackend, LocalhostResolvesToLoopbackOnceEach) {
  platform::SocketsInfo info;
  ASSERT_EQ(sockets.Startup(0x0101, info), 0);
  const auto host = sockets.GetHostByName("localhost");
  sockets.Cleanup();
  ASSERT_TRUE(host);
  EXPECT_EQ(host->addressLength, 4);
  const std::string loopback("\x7F\x00\x00\x01", 4);
  EXPECT_NE(std::find(host->addresses.begin(), host->addresses.end(), loopback),
            host->addresses.end());
  std::vector<std::string> sorted = host->addresses;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "duplicates";
  for (const std::string& address : host->addresses) EXPECT_EQ(address.size(), 4u);
}

TEST_F(SystemBackend, InetAddrTakesDottedTextOnly) {
  EXPECT_EQ(sockets.InetAddr("127.0.0.1"), kLoopback);
  EXPECT_EQ(sockets.InetAddr("192.168.1.10"), 0x0A01A8C0u);
  EXPECT_EQ(sockets.InetAddr("255.255.255.255"), platform::kInaddrNone);
  EXPECT_EQ(sockets.InetAddr("not.dotted"), platform::kInaddrNone);
  EXPECT_EQ(sockets.InetAddr("1.2.3.256"), platform::kInaddrNone);
}

// A closed socket, as ShutdownConnection and the object's end may meet one.
TEST_F(SystemBackend, ACallOnAClosedSocketFailsAsNotASocket) {
  platform::SocketsInfo info;
  ASSERT_EQ(sockets.Startup(0x0101, info), 0);
  const platform::SocketHandle s = sockets.Socket(platform::kAfInet, platform::kSockStream, 0);
  ASSERT_NE(s, platform::kInvalidSocket);
  EXPECT_EQ(sockets.SelectReadable(s, 0, 0), 0);  // unconnected: nothing to read yet
  ASSERT_EQ(sockets.CloseSocket(s), 0);
  EXPECT_EQ(sockets.SelectReadable(s, 0, 0), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEnotsock);
  EXPECT_EQ(sockets.CloseSocket(s), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEnotsock);
  sockets.Cleanup();
}

TEST_F(SystemBackend, LoopbackAnswersOneEchoWithSuccess) {
  const platform::IcmpHandle handle = icmp.CreateFile();
  if (handle == platform::kInvalidIcmpHandle) {
    GTEST_SKIP() << "ICMP echo is not allowed here (no ICMP datagram socket for this group, "
                    "no raw socket without root)";
  }
  const platform::EchoResult echo = icmp.SendEcho(handle, kLoopback, "Echo This", 1000);
  EXPECT_TRUE(icmp.CloseHandle(handle));
  ASSERT_EQ(echo.replies, 1u) << "status " << echo.status;
  EXPECT_EQ(echo.status, platform::kIpSuccess);
  EXPECT_LT(echo.roundTripMs, 1000u);
}

// Ping does not check IcmpCreateFile: an echo on a bad handle must come back empty.
TEST_F(SystemBackend, AnEchoOnABadHandleHasNoReplyAndNoStatus) {
  const platform::EchoResult echo =
      icmp.SendEcho(platform::kInvalidIcmpHandle, kLoopback, "Echo This", 200);
  EXPECT_EQ(echo.replies, 0u);
  EXPECT_EQ(echo.status, 0u);
}

}  // namespace
}  // namespace vekhor
