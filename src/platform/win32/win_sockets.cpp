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

int WinSockets::Startup(std::uint16_t versionRequested, SocketsInfo& info) {
  WSADATA data{};
  const int result = ::WSAStartup(versionRequested, &data);
  if (result == 0) {
    info.version = data.wVersion;
    info.highVersion = data.wHighVersion;
    info.maxSockets = data.iMaxSockets;
  }
  return result;
}

int WinSockets::Cleanup() {
  return ::WSACleanup();
}

SocketHandle WinSockets::Socket(int family, int type, int protocol) {
  return ::socket(family, type, protocol);
}

int WinSockets::Bind(SocketHandle s, const SockAddrIn& address) {
  const sockaddr_in native = ToSockaddr(address);
  return ::bind(s, reinterpret_cast<const sockaddr*>(&native), sizeof native);
}

int WinSockets::Connect(SocketHandle s, const SockAddrIn& address) {
  const sockaddr_in native = ToSockaddr(address);
  return ::connect(s, reinterpret_cast<const sockaddr*>(&native), sizeof native);
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
  return ::select(0, &readable, &writable, &failed, &timeout);
}

int WinSockets::Recv(SocketHandle s, char* buffer, int length, int flags) {
  return ::recv(s, buffer, length, flags);
}

int WinSockets::Shutdown(SocketHandle s, int how) {
  return ::shutdown(s, how);
}

int WinSockets::CloseSocket(SocketHandle s) {
  return ::closesocket(s);
}

int WinSockets::CancelBlockingCall() {
  return ::WSACancelBlockingCall();
}

int WinSockets::GetHostName(char* name, int length) {
  return ::gethostname(name, length);
}

std::optional<HostRecord> WinSockets::GetHostByName(const std::string& name) {
  const hostent* host = ::gethostbyname(name.c_str());
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
  return ::inet_addr(dotted.c_str());
}

int WinSockets::LastError() {
  return ::WSAGetLastError();
}

}  // namespace vekhor::platform
