// Room for every server a run asks at once, not Winsock's default 64.
#define FD_SETSIZE 1024
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

// FD_ISSET calls ws2_32's __WSAFDIsSet, which would import ws2_32 at start: look in the array.
bool Contains(const fd_set& set, SOCKET s) {
  for (u_int i = 0; i < set.fd_count; ++i) {
    if (set.fd_array[i] == s) return true;
  }
  return false;
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

int WinSockets::SetNonBlocking(SocketHandle s, bool nonBlocking) {
  u_long mode = nonBlocking ? 1 : 0;
  return VEKHOR_WS2(ioctlsocket, SOCKET_ERROR, s, static_cast<long>(FIONBIO), &mode);
}

int WinSockets::SelectReadable(SocketHandle s, long seconds, long microseconds) {
  std::vector<SelectEntry> entries{{.socket = s, .read = true}};
  return Select(entries, seconds, microseconds);
}

int WinSockets::Select(std::vector<SelectEntry>& entries, long seconds, long microseconds) {
  // FD_SET drops what does not fit; a socket left out would never be reported.
  if (entries.size() > FD_SETSIZE) {
    RecordError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  fd_set readable;
  fd_set writable;
  fd_set failed;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  for (SelectEntry& entry : entries) {
    entry.readable = entry.writable = entry.failed = false;
    if (entry.read) FD_SET(entry.socket, &readable);
    if (entry.write) {
      FD_SET(entry.socket, &writable);
      FD_SET(entry.socket, &failed);  // where Windows reports a failed connect
    }
  }
  timeval timeout{seconds, microseconds};
  const int result = VEKHOR_WS2(select, SOCKET_ERROR, 0, &readable, &writable, &failed, &timeout);
  if (result == SOCKET_ERROR || result == 0) return result;
  // select counts a socket once for each set it is found in; the interface counts sockets.
  int ready = 0;
  int failure = 0;
  for (SelectEntry& entry : entries) {
    entry.readable = entry.read && Contains(readable, entry.socket);
    entry.failed = entry.write && Contains(failed, entry.socket);
    entry.writable = entry.write && !entry.failed && Contains(writable, entry.socket);
    if (entry.failed) failure = SocketError(entry.socket);
    if (entry.readable || entry.writable || entry.failed) ++ready;
  }
  if (failure != 0) RecordError(failure);  // so that LastError tells why the connect failed
  return ready;
}

int WinSockets::SocketError(SocketHandle s) {
  int error = 0;
  int length = sizeof error;
  if (VEKHOR_WS2(getsockopt, SOCKET_ERROR, s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                 &length) == SOCKET_ERROR) {
    return LastError();  // no error to read: the reason why, never 0
  }
  return error;
}

int WinSockets::Send(SocketHandle s, const char* buffer, int length, int flags) {
  return VEKHOR_WS2(send, SOCKET_ERROR, s, buffer, length, flags);
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

void WinSockets::RecordError(int code) {
  using SetLastErrorFunction = decltype(::WSASetLastError);
  if (auto* set = ws2_32_.Find<SetLastErrorFunction>("WSASetLastError")) set(code);
}

int WinSockets::LastError() {
  return VEKHOR_WS2(WSAGetLastError, WSASYSNOTREADY);
}

#undef VEKHOR_WS2

}  // namespace vekhor::platform
