#include "net/tcp_attempt.h"

#include "net/ws1.h"

namespace vekhor {

TcpAttempt::~TcpAttempt() {
  if (socket_ != platform::kInvalidSocket) {
    sockets_.Shutdown(socket_, platform::kShutdownBoth);
    sockets_.CloseSocket(socket_);
  }
  if (started_) sockets_.Cleanup();
}

bool TcpAttempt::Start(const std::string& localDotted, const std::string& remoteDotted,
                       std::uint16_t port) {
  if (started_) return false;
  platform::SocketsInfo info;
  if (sockets_.Startup(kWinsockVersion11, info) != 0) return false;
  started_ = true;
  socket_ = sockets_.Socket(platform::kAfInet, platform::kSockStream, 0);
  if (socket_ == platform::kInvalidSocket) return false;
  platform::SockAddrIn local;
  local.family = platform::kAfInet;
  local.address = sockets_.InetAddr(localDotted);
  platform::SockAddrIn remote;
  remote.family = platform::kAfInet;
  remote.port = platform::HostToNetworkShort(port);
  remote.address = sockets_.InetAddr(remoteDotted);
  if (local.address == platform::kInaddrNone || remote.address == platform::kInaddrNone ||
      sockets_.Bind(socket_, local) != 0 || sockets_.SetNonBlocking(socket_, true) != 0) {
    return false;
  }
  return sockets_.Connect(socket_, remote) == 0 ||
         sockets_.LastError() == platform::wsa::kEwouldblock;
}

void TcpAttempt::Connected() {
  if (socket_ != platform::kInvalidSocket) sockets_.SetNonBlocking(socket_, false);
}

std::optional<std::string> TcpAttempt::Read(int limit) {
  if (socket_ == platform::kInvalidSocket || limit <= 0) return std::nullopt;
  std::string buffer(static_cast<std::size_t>(limit), '\0');
  const int received = sockets_.Recv(socket_, buffer.data(), limit, 0);
  if (received < 0 || received > limit) return std::nullopt;
  buffer.resize(static_cast<std::size_t>(received));
  return buffer;
}

}  // namespace vekhor
