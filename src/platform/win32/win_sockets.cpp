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

}  // namespace

// ws2_32 comes in with the first run, not with every start; it is always there, but should it
// not be, every call fails as a socket library that does not start.
#define VEKHOR_WS2(function) ws2_32_.Find<decltype(::function)>(#function)

int WinSockets::Startup(std::uint16_t versionRequested, SocketsInfo& info) {
  const auto startup = VEKHOR_WS2(WSAStartup);
  if (startup == nullptr) return WSASYSNOTREADY;
  WSADATA data{};
  const int result = startup(versionRequested, &data);
  if (result == 0) {
    info.version = data.wVersion;
    info.highVersion = data.wHighVersion;
    info.maxSockets = data.iMaxSockets;
  }
  return result;
}

int WinSockets::Cleanup() {
  const auto call = VEKHOR_WS2(WSACleanup);
  if (call == nullptr) return SOCKET_ERROR;
  return call();
}

SocketHandle WinSockets::Socket(int family, int type, int protocol) {
  const auto call = VEKHOR_WS2(socket);
  if (call == nullptr) return INVALID_SOCKET;
  return call(family, type, protocol);
}

int WinSockets::Bind(SocketHandle s, const SockAddrIn& address) {
  const sockaddr_in native = ToSockaddr(address);
  const auto call = VEKHOR_WS2(bind);
  if (call == nullptr) return SOCKET_ERROR;
  return call(s, reinterpret_cast<const sockaddr*>(&native), sizeof native);
}

int WinSockets::Connect(SocketHandle s, const SockAddrIn& address) {
  const sockaddr_in native = ToSockaddr(address);
  const auto call = VEKHOR_WS2(connect);
  if (call == nullptr) return SOCKET_ERROR;
  return call(s, reinterpret_cast<const sockaddr*>(&native), sizeof native);
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
  const auto call = VEKHOR_WS2(select);
  if (call == nullptr) return SOCKET_ERROR;
  return call(0, &readable, &writable, &failed, &timeout);
}

int WinSockets::Recv(SocketHandle s, char* buffer, int length, int flags) {
  const auto call = VEKHOR_WS2(recv);
  if (call == nullptr) return SOCKET_ERROR;
  return call(s, buffer, length, flags);
}

int WinSockets::Shutdown(SocketHandle s, int how) {
  const auto call = VEKHOR_WS2(shutdown);
  if (call == nullptr) return SOCKET_ERROR;
  return call(s, how);
}

int WinSockets::CloseSocket(SocketHandle s) {
  const auto call = VEKHOR_WS2(closesocket);
  if (call == nullptr) return SOCKET_ERROR;
  return call(s);
}

int WinSockets::CancelBlockingCall() {
  const auto call = VEKHOR_WS2(WSACancelBlockingCall);
  if (call == nullptr) return SOCKET_ERROR;
  return call();
}

int WinSockets::GetHostName(char* name, int length) {
  const auto call = VEKHOR_WS2(gethostname);
  if (call == nullptr) return SOCKET_ERROR;
  return call(name, length);
}

std::optional<HostRecord> WinSockets::GetHostByName(const std::string& name) {
  const auto lookup = VEKHOR_WS2(gethostbyname);
  if (lookup == nullptr) return std::nullopt;
  const hostent* host = lookup(name.c_str());
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
  const auto call = VEKHOR_WS2(inet_addr);
  if (call == nullptr) return INADDR_NONE;
  return call(dotted.c_str());
}

int WinSockets::LastError() {
  const auto call = VEKHOR_WS2(WSAGetLastError);
  if (call == nullptr) return WSASYSNOTREADY;
  return call();
}

#undef VEKHOR_WS2

}  // namespace vekhor::platform
