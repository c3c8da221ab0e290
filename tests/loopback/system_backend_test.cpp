// The real socket, echo and clock backends (POSIX, or Win32 under Wine) alone and against port 37.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <map>
#include <thread>
#include <vector>

#include "net/tcpip.h"
#include "platform/clock.h"
#include "platform/system.h"
#include "res/build_date.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

constexpr std::uint32_t kLoopback = 0x0100007F;  // 127.0.0.1, first component lowest

struct SystemBackend : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  platform::Sockets& sockets = system->platform().sockets;
  platform::Icmp& icmp = system->platform().icmp;
  CatalogueTexts english{Language::English};
  TCPIP tcpip{sockets, icmp, english, system->platform().clock};
};

// The fetch itself shows that localhost resolves and that dotted text becomes an address.
TEST_F(SystemBackend, StartUpsBalanceOnlyDottedTextIsAnAddressFailuresSayWhyLoopbackEchoes) {
  platform::SocketsInfo info;
  ASSERT_EQ(sockets.Startup(0x0101, info), 0);
  EXPECT_EQ(info.version, 0x0101);
  ASSERT_EQ(sockets.Startup(0x0101, info), 0);
  EXPECT_EQ(sockets.Cleanup(), 0);
  EXPECT_EQ(sockets.Cleanup(), 0);
  EXPECT_EQ(sockets.Cleanup(), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kNotinitialised);

  EXPECT_EQ(sockets.InetAddr("192.168.1.10"), 0x0A01A8C0u);
  for (const char* none : {"255.255.255.255", "not.dotted", "1.2.3.256"}) {
    EXPECT_EQ(sockets.InetAddr(none), platform::kInaddrNone) << none;
  }

  // Real failures with their codes and texts: our own address binds, nothing listens on port 1.
  tcpip.LocalHostIP(tcpip.GetIPaddress());
  tcpip.RemoteHostIP("127.0.0.1");
  tcpip.RemotePort(1);
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorCode(), 10061);
  EXPECT_EQ(tcpip.LastErrorText(),
            "Error in OpenConnection::connect\r\n"
            "WSAECONNREFUSED: The attempt to connect was forcefully rejected");

  tcpip.LocalHostIP("203.0.113.7");  // an address this machine does not have
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorCode(), 10049);
  EXPECT_EQ(tcpip.LastErrorText(),
            "Error in OpenConnection::bind\r\n"
            "WSAEADDRNOTAVAIL: The specified address is not available from the local computer");

  // Ping does not check IcmpCreateFile: an echo on a bad handle must come back empty.
  const platform::EchoResult bad =
      icmp.SendEcho(platform::kInvalidIcmpHandle, kLoopback, "Echo This", 200);
  EXPECT_EQ(bad.replies, 0u);
  EXPECT_EQ(bad.status, 0u);

  const platform::IcmpHandle handle = icmp.CreateFile();
  if (handle == platform::kInvalidIcmpHandle) {
    GTEST_SKIP() << "no ICMP echo here: no datagram socket for this group, no raw one but root";
  }
  const platform::EchoResult echo = icmp.SendEcho(handle, kLoopback, "Echo This", 1000);
  EXPECT_TRUE(icmp.CloseHandle(handle));
  ASSERT_EQ(echo.replies, 1u) << "status " << echo.status;
  EXPECT_EQ(echo.status, platform::kIpSuccess);
  EXPECT_LT(echo.roundTripMs, 1000u);
  EXPECT_GE(tcpip.Ping("127.0.0.1"), 1);  // under a millisecond still counts as an answer
  EXPECT_GE(tcpip.Ping("localhost"), 1);
}

// The clock's readings against the C++ library's own: the FILETIME epoch and units, and a monotonic
// count in microseconds that measures an interval as steady_clock does. Under Wine, the Win32
// backend's: GetSystemTimePreciseAsFileTime and QueryPerformanceCounter.
TEST_F(SystemBackend, ClockReadsUtcAsAFileTimeAndAMonotonicCountThatNeverGoesBack) {
  using namespace std::chrono;
  platform::Clock& clock = system->platform().clock;
  constexpr std::int64_t kFileTimeOfUnixEpoch = 116444736000000000;
  const std::int64_t fileTime = clock.PreciseFileTime();
  const std::int64_t expected =
      duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() * 10 +
      kFileTimeOfUnixEpoch;
  EXPECT_NEAR(static_cast<double>(fileTime), static_cast<double>(expected), 1e7);

  const auto steadyStart = steady_clock::now();
  const std::int64_t start = clock.MonotonicMicroseconds();
  std::this_thread::sleep_for(milliseconds(50));
  const std::int64_t elapsed = clock.MonotonicMicroseconds() - start;
  const auto steadyElapsed = duration_cast<microseconds>(steady_clock::now() - steadyStart);
  EXPECT_GE(elapsed, 49999);
  EXPECT_LE(elapsed, steadyElapsed.count() + 1);
}

// ctest runs the server with one behaviour per entry and names it in VEKHOR_TIME_BEHAVIOUR.
using Port37 = SystemBackend;

TEST_F(Port37, EachServerBehaviourGivesItsAnswer) {
  const char* named = std::getenv("VEKHOR_TIME_BEHAVIOUR");
  if (named == nullptr) GTEST_SKIP() << "needs the bundled time server: run it through ctest";
  const std::string behaviour = named;
  const std::string answer = tcpip.SynchTime("localhost");
  if (behaviour == "time") {
    ASSERT_TRUE(IsPlausibleTime(answer, kBuildDaySince1900));
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr)) + 2208988800;
    EXPECT_NEAR(static_cast<double>(*TimeValue(answer)), static_cast<double>(now), 2.0);
  } else if (behaviour == "split") {
    EXPECT_EQ(answer.size(), 2u) << "only the first piece";
  } else {
    const std::map<std::string, std::string> expected{
        {"bytes:000A0DFF", std::string("\x00\x0A\x0D\xFF", 4)},
        {"silence", ""},
        {"close", ""},  // not the refusal text
        {"flood", std::string(10000, 'A')},
        {"refuse", "Could not make connection"}};
    ASSERT_TRUE(expected.count(behaviour)) << "unknown behaviour " << behaviour;
    EXPECT_EQ(answer, expected.at(behaviour));
  }
}

}  // namespace
}  // namespace vekhor
