// BSD sockets behind the Windows Sockets interface; errors are reported as WSA codes.
#pragma once

#include <map>

#include "platform/sockets.h"

namespace vekhor::platform {

class PosixSockets final : public Sockets {
 public:
  int Startup(std::uint16_t versionRequested, SocketsInfo& info) override;
  int Cleanup() override;
  SocketHandle Socket(int family, int type, int protocol) override;
  int Bind(SocketHandle s, const SockAddrIn& address) override;
  int Connect(SocketHandle s, const SockAddrIn& address) override;
  int SetNonBlocking(SocketHandle s, bool nonBlocking) override;
  int SelectReadable(SocketHandle s, long seconds, long microseconds) override;
  int Select(std::vector<SelectEntry>& entries, long seconds, long microseconds) override;
  int SocketError(SocketHandle s) override;
  int Send(SocketHandle s, const char* buffer, int length, int flags) override;
  int Recv(SocketHandle s, char* buffer, int length, int flags) override;
  int Shutdown(SocketHandle s, int how) override;
  int CloseSocket(SocketHandle s) override;
  int CancelBlockingCall() override { return 0; }
  int GetHostName(char* name, int length) override;
  std::optional<HostRecord> GetHostByName(const std::string& name) override;
  std::uint32_t InetAddr(const std::string& dotted) override;
  int LastError() override { return lastError_; }

 private:
  int Failed();                              // records errno as a WSA code and returns SOCKET_ERROR
  bool Descriptor(SocketHandle s, int& fd);  // false, with WSAENOTSOCK recorded, for no socket
  // Sorts out what poll() said of one entry; true when the entry counts as ready.
  bool Settle(SelectEntry& entry, short events);
  int startups_ = 0;
  int lastError_ = 0;
  // Linux clears SO_ERROR as it is read and Windows keeps it: a connect's error, once read, is
  // kept here (by descriptor) until the socket connects again or closes.
  std::map<int, int> connectErrors_;
};

// The Windows Sockets code for an errno value (0 stays 0; unknown values become WSABASEERR+errno).
int WsaCodeOfErrno(int error);

}  // namespace vekhor::platform
