// One UDP socket connected to one IPv4 address and port, for a request and its reply. It holds a
// start-up of the socket library and its socket for its life, and releases both on every path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sockets.h"

namespace vekhor {

class UdpSocket {
 public:
  explicit UdpSocket(platform::Sockets& sockets) : sockets_(sockets) {}
  ~UdpSocket();
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  // Starts the library, makes the socket and connects it to `dotted`:`port`, so that only
  // datagrams from there arrive.
  bool Open(const std::string& dotted, std::uint16_t port);
  bool Send(const std::string& datagram);
  // True when a datagram can be read within `milliseconds`.
  bool WaitReadable(long milliseconds);
  // One datagram of at most `limit` bytes; nothing when the read fails (WSAEMSGSIZE for a larger
  // one, which Windows does not keep in part).
  std::optional<std::string> Receive(int limit);
  // The Windows Sockets code of the last failure.
  int LastError() const { return lastError_; }
  // For a select over several sockets; kInvalidSocket before Open.
  platform::SocketHandle Handle() const { return socket_; }

 private:
  bool Failed();

  platform::Sockets& sockets_;
  bool started_ = false;
  platform::SocketHandle socket_ = platform::kInvalidSocket;
  int lastError_ = 0;
};

}  // namespace vekhor
