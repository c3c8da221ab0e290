#include "net/udp_socket.h"

#include <vector>

namespace vekhor {
namespace {
constexpr std::uint16_t kWinsockVersion22 = 0x0202;
}

UdpSocket::~UdpSocket() {
  if (socket_ != platform::kInvalidSocket) sockets_.CloseSocket(socket_);
  if (started_) sockets_.Cleanup();
}

bool UdpSocket::Failed() {
  lastError_ = sockets_.LastError();
  return false;
}

bool UdpSocket::Open(const std::string& dotted, std::uint16_t port) {
  if (started_) return false;
  platform::SocketsInfo info;
  if (const int startup = sockets_.Startup(kWinsockVersion22, info); startup != 0) {
    lastError_ = startup;
    return false;
  }
  started_ = true;
  socket_ = sockets_.Socket(platform::kAfInet, platform::kSockDgram, 0);
  if (socket_ == platform::kInvalidSocket) return Failed();
  platform::SockAddrIn remote;
  remote.family = platform::kAfInet;
  remote.port = platform::HostToNetworkShort(port);
  remote.address = sockets_.InetAddr(dotted);
  if (remote.address == platform::kInaddrNone) {
    lastError_ = platform::wsa::kEdestaddrreq;
    return false;
  }
  return sockets_.Connect(socket_, remote) == 0 || Failed();
}

bool UdpSocket::Send(const std::string& datagram) {
  if (socket_ == platform::kInvalidSocket) return false;
  const int sent = sockets_.Send(socket_, datagram.data(), static_cast<int>(datagram.size()), 0);
  return sent == static_cast<int>(datagram.size()) || Failed();
}

bool UdpSocket::WaitReadable(long milliseconds) {
  if (socket_ == platform::kInvalidSocket) return false;
  std::vector<platform::SelectEntry> waiting{{.socket = socket_, .read = true}};
  const int ready = sockets_.Select(waiting, milliseconds / 1000, milliseconds % 1000 * 1000);
  if (ready == platform::kSocketError) return Failed();
  if (ready == 0) lastError_ = platform::wsa::kEtimedout;
  return ready > 0 && waiting[0].readable;
}

std::optional<std::string> UdpSocket::Receive(int limit) {
  if (socket_ == platform::kInvalidSocket || limit <= 0) return std::nullopt;
  std::string buffer(static_cast<std::size_t>(limit), '\0');
  const int received = sockets_.Recv(socket_, buffer.data(), limit, 0);
  if (received < 0 || received > limit) {
    Failed();
    return std::nullopt;
  }
  buffer.resize(static_cast<std::size_t>(received));
  return buffer;
}

}  // namespace vekhor
