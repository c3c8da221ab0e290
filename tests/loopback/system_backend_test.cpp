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

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

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
// count in microseconds that measures an interval as steady_clock does. The select over several
// sockets is tried on the Win32 backend, the program's own (tests/wine/sockets_win32_test.cpp).
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

#ifndef _WIN32
// The POSIX backend's non-blocking connects, select and datagrams against peers made here with
// plain POSIX sockets; tests/wine/sockets_win32_test.cpp puts the Win32 backend through the same.

// A peer of the test's own on 127.0.0.1, on a port the system picks: a TCP listener, a TCP port
// that refuses (bound, nobody listening), or a UDP socket that answers datagrams.
class LoopbackPeer {
 public:
  enum class Kind { Listener, Refuser, Datagram };
  explicit LoopbackPeer(Kind kind)
      : fd_(::socket(AF_INET, kind == Kind::Datagram ? SOCK_DGRAM : SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ready_ = fd_ >= 0 &&
             ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
             (kind != Kind::Listener || ::listen(fd_, 4) == 0) &&
             ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    port_ = address.sin_port;
  }
  ~LoopbackPeer() {
    if (fd_ >= 0) ::close(fd_);
  }
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  bool ready() const { return ready_; }
  platform::SockAddrIn address() const { return {platform::kAfInet, port_, kLoopback}; }

  // The next datagram, waiting up to a second; its sender is the one Reply answers.
  std::string Receive() {
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, 1000) != 1) return {};
    char data[2048];
    socklen_t length = sizeof sender_;
    const ssize_t got =
        ::recvfrom(fd_, data, sizeof data, 0, reinterpret_cast<sockaddr*>(&sender_), &length);
    return got > 0 ? std::string(data, static_cast<std::size_t>(got)) : std::string();
  }
  bool Reply(const std::string& data) {
    return ::sendto(fd_, data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&sender_),
                    sizeof sender_) == static_cast<ssize_t>(data.size());
  }

 private:
  int fd_;
  bool ready_ = false;
  std::uint16_t port_ = 0;
  sockaddr_in sender_{};
};

// A socket of the backend, closed however the test ends.
struct OwnedSocket {
  OwnedSocket(platform::Sockets& owner, int type)
      : sockets(owner), handle(owner.Socket(platform::kAfInet, type, 0)) {}
  ~OwnedSocket() {
    if (handle != platform::kInvalidSocket) sockets.CloseSocket(handle);
  }
  OwnedSocket(const OwnedSocket&) = delete;
  OwnedSocket& operator=(const OwnedSocket&) = delete;
  platform::Sockets& sockets;
  platform::SocketHandle handle;
};

// Selects until `wanted` entries are ready or two seconds pass; the last select's count.
int SelectUntil(platform::Sockets& sockets, std::vector<platform::SelectEntry>& entries,
                int wanted) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  int ready = 0;
  do {
    ready = sockets.Select(entries, 0, 100000);
  } while (ready != platform::kSocketError && ready < wanted &&
           std::chrono::steady_clock::now() < deadline);
  return ready;
}

TEST_F(SystemBackend, NonBlockingConnectEndsWritableWhenAcceptedAndFailedWhenRefused) {
  LoopbackPeer listener(LoopbackPeer::Kind::Listener);
  LoopbackPeer refuser(LoopbackPeer::Kind::Refuser);
  ASSERT_TRUE(listener.ready() && refuser.ready());
  OwnedSocket accepted(sockets, platform::kSockStream);
  OwnedSocket refused(sockets, platform::kSockStream);
  for (const OwnedSocket* client : {&accepted, &refused}) {
    ASSERT_NE(client->handle, platform::kInvalidSocket);
    ASSERT_EQ(sockets.SetNonBlocking(client->handle, true), 0);
  }
  // Both go on in the background, as Winsock says of them.
  EXPECT_EQ(sockets.Connect(accepted.handle, listener.address()), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEwouldblock);
  EXPECT_EQ(sockets.Connect(refused.handle, refuser.address()), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEwouldblock);

  std::vector<platform::SelectEntry> entries{{.socket = accepted.handle, .write = true},
                                             {.socket = refused.handle, .write = true}};
  ASSERT_EQ(SelectUntil(sockets, entries, 2), 2);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEconnrefused) << "the failed connect's error";
  EXPECT_TRUE(entries[0].writable);
  EXPECT_FALSE(entries[0].failed);
  EXPECT_EQ(sockets.SocketError(accepted.handle), 0);
  EXPECT_FALSE(entries[1].writable);
  EXPECT_TRUE(entries[1].failed);
  // Linux forgets SO_ERROR once read; Windows keeps telling it, to every select and every ask.
  EXPECT_EQ(sockets.SocketError(refused.handle), platform::wsa::kEconnrefused);
  EXPECT_EQ(sockets.SocketError(refused.handle), platform::wsa::kEconnrefused);
  std::vector<platform::SelectEntry> again{{.socket = refused.handle, .write = true}};
  EXPECT_EQ(sockets.Select(again, 0, 0), 1);
  EXPECT_TRUE(again[0].failed);
  EXPECT_FALSE(again[0].writable);
}

TEST_F(SystemBackend, ConnectedDatagramSocketGetsItsEchoAndFailsOnALongerReplyAsWindowsDoes) {
  LoopbackPeer echo(LoopbackPeer::Kind::Datagram);
  ASSERT_TRUE(echo.ready());
  OwnedSocket client(sockets, platform::kSockDgram);
  ASSERT_NE(client.handle, platform::kInvalidSocket);
  ASSERT_EQ(sockets.Connect(client.handle, echo.address()), 0);

  // An SNTP request's size; a zero byte and 0xFF in it must not end or change it.
  const std::string request = std::string("\x23\x00\xFF", 3) + std::string(45, 'R');
  ASSERT_EQ(sockets.Send(client.handle, request.data(), 48, 0), 48);
  ASSERT_TRUE(echo.Reply(echo.Receive()));
  ASSERT_EQ(sockets.SelectReadable(client.handle, 1, 0), 1);
  char reply[48];
  ASSERT_EQ(sockets.Recv(client.handle, reply, sizeof reply, 0), 48);
  EXPECT_EQ(std::string(reply, 48), request);

  // Windows fails a datagram longer than the buffer and drops the rest: the next one is whole.
  const std::string longer(200, 'L');
  ASSERT_EQ(sockets.Send(client.handle, longer.data(), 200, 0), 200);
  ASSERT_EQ(echo.Receive(), longer);
  ASSERT_TRUE(echo.Reply(longer) && echo.Reply("after"));
  std::vector<platform::SelectEntry> entries{{.socket = client.handle, .read = true}};
  ASSERT_EQ(sockets.Select(entries, 1, 0), 1);
  EXPECT_EQ(sockets.Recv(client.handle, reply, sizeof reply, 0), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEmsgsize);
  EXPECT_EQ(reply[0], 'L') << "the buffer holds the datagram's start";
  ASSERT_EQ(sockets.Recv(client.handle, reply, sizeof reply, 0), 5);
  EXPECT_EQ(std::string(reply, 5), "after");
}
#endif

// ctest runs the server with one behaviour per entry and names it in VEKHOR_TIME_BEHAVIOUR.
using Port37 = SystemBackend;

TEST_F(Port37, EachServerBehaviourGivesItsAnswer) {
  const char* named = std::getenv("VEKHOR_TIME_BEHAVIOUR");
  if (named == nullptr) GTEST_SKIP() << "needs the bundled time server: run it through ctest";
  const std::string behaviour = named;
  const std::string answer = tcpip.SynchTime("localhost");
  if (behaviour == "time") {
    ASSERT_TRUE(DecodeTimeAnswer(answer, kBuildDaySince1900));
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
