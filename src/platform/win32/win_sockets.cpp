#include "platform/win32/win_sockets.h"

#include <winsock2.h>

namespace vekhor::platform {
namespace {

sockaddr_in ToSockaddr(const SockAddrIn& address) {
  sockaddr_in result{};
  result.sin_family = static_cast<ADDRESS_FAMILY>(address.family);
  result.sin_port = address.port;
  result.sin_addr.s_addr = address.address;
  return result;
}

// ws2_32's `name` called with `arguments`, or `unavailable` when the library or the function
// cannot be found.
template <class Function, class Result, class... Arguments>
Result CallWs2(SystemLibrary& ws2_32, const char* name, Result unavailable,
               Arguments... arguments) {
  Function* const function = ws2_32.Find<Function>(name);
  return function != nullptr ? static_cast<Result>(function(arguments...)) : unavailable;
}

}  // namespace

// ws2_32 comes in with the first run, not with every start; it is always there, but should it
// not be, every call fails as a socket library that does not start.
#define VEKHOR_WS2(function, unavailable, ...) \
  CallWs2<decltype(::function)>(ws2_32_, #function, unavailable __VA_OPT__(, ) __VA_ARGS__)

int WinSockets::Startup(std::uint16_t versionRequested, SocketsInfo& info) {
  WSADATA data{};
  const int result = VEKHOR_WS2(WSAStartup, WSASYSNOTREADY, versionRequested, &data);
  if (result == 0) {
    info.version = data.wVersion;
    info.highVersion = data.wHighVersion;
    info.maxSockets = data.iMaxSockets;
  }
  return result;
}

int WinSockets::Cleanup() {
  return VEKHOR_WS2(WSACleanup, SOCKET_ERROR);
}

SocketHandle WinSockets::Socket(int family, int type, int protocol) {
  return VEKHOR_WS2(socket, INVALID_SOCKET, family, type, protocol);
}

int WinSockets::Bind(SocketHandle s, const SockAddrIn& address) {
  const sockaddr_in native = ToSockaddr(address);
  return VEKHOR_WS2(bind, SOCKET_ERROR, s, reinterpret_cast<const sockaddr*>(&native),
                    sizeof native);
}

int WinSockets::Connect(SocketHandle s, const SockAddrIn& address) {
  const sockaddr_in native = ToSockaddr(address);
  return VEKHOR_WS2(connect, SOCKET_ERROR, s, reinterpret_cast<const sockaddr*>(&native),
                    sizeof native);
}

int WinSockets::SelectReadable(SocketHandle s, long seconds, long microseconds) {
  fd_set readable;
  fd_set writable;
  fd_set failed;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(s, &readable);
  timeval timeout{seconds, microseconds};
  return VEKHOR_WS2(select, SOCKET_ERROR, 0, &readable, &writable, &failed, &timeout);
}

int WinSockets::Recv(SocketHandle s, char* buffer, int length, int flags) {
  return VEKHOR_WS2(recv, SOCKET_ERROR, s, buffer, length, flags);
}

int WinSockets::Shutdown(SocketHandle s, int how) {
  return VEKHOR_WS2(shutdown, SOCKET_ERROR, s, how);
}

int WinSockets::CloseSocket(SocketHandle s) {
  return VEKHOR_WS2(closesocket, SOCKET_ERROR, s);
}

int WinSockets::CancelBlockingCall() {
  return VEKHOR_WS2(WSACancelBlockingCall, SOCKET_ERROR);
}

int WinSockets::GetHostName(char* name, int length) {
  return VEKHOR_WS2(gethostname, SOCKET_ERROR, name, length);
}

std::optional<HostRecord> WinSockets::GetHostByName(const std::string& name) {
  const hostent* host = VEKHOR_WS2(gethostbyname, static_cast<hostent*>(nullptr), name.c_str());
  if (host == nullptr) return std::nullopt;
  // The record lives in Winsock's per-thread buffer until the next call: copy it out now.
  HostRecord record;
  record.addressLength = host->h_length;
  const auto length = static_cast<std::size_t>(host->h_length < 0 ? 0 : host->h_length);
  for (char** entry = host->h_addr_list; entry != nullptr && *entry != nullptr; ++entry) {
    record.addresses.emplace_back(*entry, length);
  }
  return record;
}

std::uint32_t WinSockets::InetAddr(const std::string& dotted) {
  return VEKHOR_WS2(inet_addr, INADDR_NONE, dotted.c_str());
}

int WinSockets::LastError() {
  return VEKHOR_WS2(WSAGetLastError, WSASYSNOTREADY);
}

#undef VEKHOR_WS2

}  // namespace vekhor::platform
