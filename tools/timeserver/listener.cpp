#include "listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace timeserver {

Descriptor OpenLoopbackSocket(SocketKind kind, int port, int& boundPort, std::string& error) {
  const bool datagram = kind == SocketKind::Datagram;
  Descriptor server(::socket(AF_INET, (datagram ? SOCK_DGRAM : SOCK_STREAM) | SOCK_CLOEXEC, 0));
  if (!server) {
    error = std::string("socket: ") + std::strerror(errno);
    return {};
  }
  const int yes = 1;
  if (datagram) {
    // Not SO_REUSEADDR: for UDP it would let a second server share the port unnoticed.
    ::setsockopt(server.get(), SOL_SOCKET, SO_TIMESTAMPNS, &yes, sizeof yes);
  } else {
    // A test right after another on the same port must not wait for TIME_WAIT to pass.
    ::setsockopt(server.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::bind(server.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    error = "cannot bind 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    if (port > 0 && port < 1024) error += " (ports below 1024 need root or CAP_NET_BIND_SERVICE)";
    return {};
  }
  socklen_t length = sizeof address;
  if (::getsockname(server.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    error = std::string("getsockname: ") + std::strerror(errno);
    return {};
  }
  boundPort = ntohs(address.sin_port);
  if (kind == SocketKind::Listening && ::listen(server.get(), 16) != 0) {
    error = std::string("listen: ") + std::strerror(errno);
    return {};
  }
  return server;
}

}  // namespace timeserver
