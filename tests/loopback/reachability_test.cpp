// The reachability checks through the real backend, on this machine only.
#include <gtest/gtest.h>

#include "fakes/fake_sockets.h"
#include "net/tcpip.h"
#include "platform/icmp.h"
#include "platform/system.h"

namespace vekhor {
namespace {

struct RealReachability : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  fakes::CountingSockets sockets{system->platform().sockets};
  CatalogueTexts english{Language::English};

  void TearDown() override { EXPECT_EQ(sockets.StartupCount(), 0); }
};

TEST_F(RealReachability, TheLocalAddressIsThisMachinesOwn) {
  TCPIP tcpip(sockets, system->platform().icmp, english);
  const std::string local = tcpip.GetIPaddress();
  ASSERT_FALSE(local.empty());
  // Whatever it is, a socket can be bound to it.
  tcpip.LocalHostIP(local);
  tcpip.RemoteHostIP("127.0.0.1");
  tcpip.RemotePort(1);  // nothing listens: the bind must succeed, the connect fail
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorText().substr(0, tcpip.LastErrorText().find('\r')),
            "Error in OpenConnection::connect");
  tcpip.ShutdownConnection();
}

TEST_F(RealReachability, LoopbackAnswersTheEcho) {
  platform::Icmp& icmp = system->platform().icmp;
  const platform::IcmpHandle probe = icmp.CreateFile();
  if (probe == platform::kInvalidIcmpHandle) {
    GTEST_SKIP() << "ICMP echo is not allowed here (no ICMP socket for this user)";
  }
  icmp.CloseHandle(probe);
  TCPIP tcpip(sockets, icmp, english);
  const std::int32_t roundTrip = tcpip.Ping("127.0.0.1");
  if (roundTrip <= 0) {
    // Some sandboxes let the socket open but drop echo requests.
    const platform::IcmpHandle again = icmp.CreateFile();
    const platform::EchoResult echo = icmp.SendEcho(again, 0x0100007F, "Echo This", 200);
    icmp.CloseHandle(again);
    if (echo.replies == 0) GTEST_SKIP() << "loopback echo gets no reply in this sandbox";
  }
  EXPECT_GE(roundTrip, 1);  // under a millisecond still counts as an answer
  EXPECT_GE(tcpip.Ping("localhost"), 1);
}

}  // namespace
}  // namespace vekhor
