// One TCP connection made without blocking, so that several can be made at once: started here,
// found connected or failed by a select over many, and its data read once. It holds a start-up of
// the socket library and its socket for its life, and releases both on every path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sockets.h"

namespace vekhor {

class TcpAttempt {
 public:
  explicit TcpAttempt(platform::Sockets& sockets) : sockets_(sockets) {}
  ~TcpAttempt();
  TcpAttempt(const TcpAttempt&) = delete;
  TcpAttempt& operator=(const TcpAttempt&) = delete;

  // Binds to `localDotted` and starts connecting to `remoteDotted`:`port`; false when the
  // attempt failed at once.
  bool Start(const std::string& localDotted, const std::string& remoteDotted, std::uint16_t port);
  platform::SocketHandle Handle() const { return socket_; }
  // Once a select found it connected: back to blocking, as the rest of the exchange expects.
  void Connected();
  // One read of at most `limit` bytes, kept as raw bytes; nothing when the read fails.
  std::optional<std::string> Read(int limit);

 private:
  platform::Sockets& sockets_;
  bool started_ = false;
  platform::SocketHandle socket_ = platform::kInvalidSocket;
};

}  // namespace vekhor
