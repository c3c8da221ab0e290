// Winsock (ws2_32) behind the Windows Sockets interface: each call maps to one API call.
#pragma once

#include "platform/sockets.h"
#include "platform/win32/system_library.h"

namespace vekhor::platform {

class WinSockets final : public Sockets {
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
  int CancelBlockingCall() override;
  int GetHostName(char* name, int length) override;
  std::optional<HostRecord> GetHostByName(const std::string& name) override;
  std::uint32_t InetAddr(const std::string& dotted) override;
  int LastError() override;

 private:
  void RecordError(int code);  // WSASetLastError
  SystemLibrary ws2_32_{L"ws2_32.dll"};
};

}  // namespace vekhor::platform
