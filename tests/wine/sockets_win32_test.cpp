// The Win32 backend's sockets and clock under Wine, on 127.0.0.1 alone: non-blocking connects,
// select over several sockets, connected datagrams, and the clock against Windows' own readings.
// The peers are made through WinSockets where its calls reach; listen, getsockname, recvfrom and
// sendto, which the program never needs, come straight from ws2_32.
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/win_clock.h"
#include "platform/win32/win_sockets.h"

namespace vekhor {
namespace {

using platform::SelectEntry;
constexpr std::uint32_t kLoopback = 0x0100007F;  // 127.0.0.1, first component lowest

// A peer of the test's own on a port the system picks: a TCP listener, a TCP port that refuses
// (bound, nobody listening), or a UDP socket that answers datagrams.
class LoopbackPeer {
 public:
  enum class Kind { Listener, Refuser, Datagram };
  LoopbackPeer(platform::Sockets& sockets, Kind kind)
      : sockets_(sockets),
        socket_(sockets.Socket(
            platform::kAfInet,
            kind == Kind::Datagram ? platform::kSockDgram : platform::kSockStream, 0)) {
    sockaddr_in bound{};
    int length = sizeof bound;
    ready_ = socket_ != platform::kInvalidSocket &&
             sockets.Bind(socket_, {platform::kAfInet, 0, kLoopback}) == 0 &&
             (kind != Kind::Listener || ::listen(socket_, 4) == 0) &&
             ::getsockname(socket_, reinterpret_cast<sockaddr*>(&bound), &length) == 0;
    port_ = bound.sin_port;
  }
  ~LoopbackPeer() {
    if (socket_ != platform::kInvalidSocket) sockets_.CloseSocket(socket_);
  }
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  bool ready() const { return ready_; }
  platform::SockAddrIn address() const { return {platform::kAfInet, port_, kLoopback}; }

  // The next datagram, waiting up to a second; its sender is the one Reply answers.
  std::string Receive() {
    if (sockets_.SelectReadable(socket_, 1, 0) != 1) return {};
    char data[2048];
    int length = sizeof sender_;
    const int got =
        ::recvfrom(socket_, data, sizeof data, 0, reinterpret_cast<sockaddr*>(&sender_), &length);
    return got > 0 ? std::string(data, static_cast<std::size_t>(got)) : std::string();
  }
  bool Reply(const std::string& data) {
    const int length = static_cast<int>(data.size());
    return ::sendto(socket_, data.data(), length, 0, reinterpret_cast<const sockaddr*>(&sender_),
                    sizeof sender_) == length;
  }

 private:
  platform::Sockets& sockets_;
  platform::SocketHandle socket_;
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

struct Win32Sockets : ::testing::Test {
  platform::WinSockets sockets;
  void SetUp() override {
    platform::SocketsInfo info;
    ASSERT_EQ(sockets.Startup(0x0202, info), 0);
  }
  void TearDown() override { sockets.Cleanup(); }

  // Selects until `wanted` entries are ready or five seconds pass (Windows itself retries a
  // refused connect for about two); the last select's count.
  int SelectUntil(std::vector<SelectEntry>& entries, int wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int ready = 0;
    do {
      ready = sockets.Select(entries, 0, 100000);
    } while (ready != platform::kSocketError && ready < wanted &&
             std::chrono::steady_clock::now() < deadline);
    return ready;
  }
};

TEST_F(Win32Sockets, NonBlockingConnectEndsWritableWhenAcceptedAndFailedWhenRefused) {
  LoopbackPeer listener(sockets, LoopbackPeer::Kind::Listener);
  LoopbackPeer refuser(sockets, LoopbackPeer::Kind::Refuser);
  ASSERT_TRUE(listener.ready() && refuser.ready());
  OwnedSocket accepted(sockets, platform::kSockStream);
  OwnedSocket refused(sockets, platform::kSockStream);
  for (const OwnedSocket* client : {&accepted, &refused}) {
    ASSERT_NE(client->handle, platform::kInvalidSocket);
    ASSERT_EQ(sockets.SetNonBlocking(client->handle, true), 0);
  }
  EXPECT_EQ(sockets.Connect(accepted.handle, listener.address()), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEwouldblock);
  EXPECT_EQ(sockets.Connect(refused.handle, refuser.address()), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEwouldblock);

  std::vector<SelectEntry> entries{{.socket = accepted.handle, .write = true},
                                   {.socket = refused.handle, .write = true}};
  ASSERT_EQ(SelectUntil(entries, 2), 2);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEconnrefused) << "the failed connect's error";
  EXPECT_TRUE(entries[0].writable);
  EXPECT_FALSE(entries[0].failed);
  EXPECT_EQ(sockets.SocketError(accepted.handle), 0);
  // The exception set alone, and SO_ERROR keeps telling why.
  EXPECT_FALSE(entries[1].writable);
  EXPECT_TRUE(entries[1].failed);
  EXPECT_EQ(sockets.SocketError(refused.handle), platform::wsa::kEconnrefused);
  EXPECT_EQ(sockets.SocketError(refused.handle), platform::wsa::kEconnrefused);
}

TEST_F(Win32Sockets, SelectTellsEachOfSeveralSocketsApartAndTimesOutWhenNoneIsReady) {
  LoopbackPeer listener(sockets, LoopbackPeer::Kind::Listener);
  LoopbackPeer echo(sockets, LoopbackPeer::Kind::Datagram);
  ASSERT_TRUE(listener.ready() && echo.ready());
  OwnedSocket answered(sockets, platform::kSockDgram);
  OwnedSocket silent(sockets, platform::kSockDgram);
  OwnedSocket connecting(sockets, platform::kSockStream);
  ASSERT_EQ(sockets.Connect(answered.handle, echo.address()), 0);
  ASSERT_EQ(sockets.Connect(silent.handle, echo.address()), 0);
  ASSERT_EQ(sockets.SetNonBlocking(connecting.handle, true), 0);
  ASSERT_EQ(sockets.Connect(connecting.handle, listener.address()), platform::kSocketError);
  ASSERT_EQ(sockets.Send(answered.handle, "ping", 4, 0), 4);
  ASSERT_TRUE(echo.Reply(echo.Receive()));

  std::vector<SelectEntry> entries{{.socket = answered.handle, .read = true},
                                   {.socket = silent.handle, .read = true},
                                   {.socket = connecting.handle, .write = true}};
  ASSERT_EQ(SelectUntil(entries, 2), 2) << "sockets, not set memberships";
  EXPECT_TRUE(entries[0].readable);
  EXPECT_FALSE(entries[1].readable || entries[1].writable || entries[1].failed);
  EXPECT_TRUE(entries[2].writable);
  EXPECT_FALSE(entries[2].readable || entries[2].failed);

  // With the answer read, nothing is ready, a never connected stream socket included: the
  // time-out is waited out and the marks go.
  char answer[8];
  ASSERT_EQ(sockets.Recv(answered.handle, answer, sizeof answer, 0), 4);
  OwnedSocket unconnected(sockets, platform::kSockStream);
  entries.back() = {.socket = unconnected.handle, .read = true};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(sockets.Select(entries, 0, 150000), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
  EXPECT_FALSE(entries[0].readable || entries[2].readable);

  std::vector<SelectEntry> none{{.socket = answered.handle}};
  EXPECT_EQ(sockets.Select(none, 0, 0), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEinval);
  std::vector<SelectEntry> closed{{.socket = platform::kInvalidSocket, .read = true}};
  EXPECT_EQ(sockets.Select(closed, 0, 0), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEnotsock);
}

TEST_F(Win32Sockets, ConnectedDatagramSocketGetsItsEchoAndFailsOnALongerReply) {
  LoopbackPeer echo(sockets, LoopbackPeer::Kind::Datagram);
  ASSERT_TRUE(echo.ready());
  OwnedSocket client(sockets, platform::kSockDgram);
  ASSERT_NE(client.handle, platform::kInvalidSocket);
  ASSERT_EQ(sockets.Connect(client.handle, echo.address()), 0);

  const std::string request = std::string("\x23\x00\xFF", 3) + std::string(45, 'R');
  ASSERT_EQ(sockets.Send(client.handle, request.data(), 48, 0), 48);
  ASSERT_TRUE(echo.Reply(echo.Receive()));
  ASSERT_EQ(sockets.SelectReadable(client.handle, 1, 0), 1);
  char reply[48];
  ASSERT_EQ(sockets.Recv(client.handle, reply, sizeof reply, 0), 48);
  EXPECT_EQ(std::string(reply, 48), request);

  // WSAEMSGSIZE with the buffer full, the rest dropped: the next datagram comes whole.
  const std::string longer(200, 'L');
  ASSERT_EQ(sockets.Send(client.handle, longer.data(), 200, 0), 200);
  ASSERT_EQ(echo.Receive(), longer);
  ASSERT_TRUE(echo.Reply(longer) && echo.Reply("after"));
  std::vector<SelectEntry> entries{{.socket = client.handle, .read = true}};
  ASSERT_EQ(sockets.Select(entries, 1, 0), 1);
  EXPECT_EQ(sockets.Recv(client.handle, reply, sizeof reply, 0), platform::kSocketError);
  EXPECT_EQ(sockets.LastError(), platform::wsa::kEmsgsize);
  EXPECT_EQ(reply[0], 'L');
  ASSERT_EQ(sockets.Recv(client.handle, reply, sizeof reply, 0), 5);
  EXPECT_EQ(std::string(reply, 5), "after");
}

std::int64_t SystemFileTime() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                   now.dwLowDateTime);
}

// Between Windows' own readings of the same clocks: the FILETIME as GetSystemTimeAsFileTime has
// it (give or take its 15.6 ms tick), and the performance counter scaled to microseconds.
TEST(Win32Clock, ReadingsFallBetweenWindowsOwnReadings) {
  platform::WinClock clock;
  constexpr std::int64_t kTick = 156250;  // 15.625 ms in 100 ns units
  const std::int64_t before = SystemFileTime();
  const std::int64_t precise = clock.PreciseFileTime();
  const std::int64_t after = SystemFileTime();
  EXPECT_GE(precise, before - kTick);
  EXPECT_LE(precise, after + kTick);

  LARGE_INTEGER frequency{};
  LARGE_INTEGER counter{};
  ASSERT_TRUE(::QueryPerformanceFrequency(&frequency));
  const auto microseconds = [&] {
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
  };
  const double first = microseconds();
  const std::int64_t monotonic = clock.MonotonicMicroseconds();
  const double last = microseconds();
  EXPECT_GE(static_cast<double>(monotonic), first - 1);
  EXPECT_LE(static_cast<double>(monotonic), last + 1);
}

}  // namespace
}  // namespace vekhor
