#include "platform/posix/posix_sockets.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace vekhor::platform {

int WsaCodeOfErrno(int error) {
  switch (error) {
    case 0:
      return 0;
    case EINTR:
      return wsa::kEintr;
    case EACCES:
      return wsa::kEacces;
    case EPERM:
      return wsa::kEacces;
    case EFAULT:
      return wsa::kEfault;
    case EINVAL:
      return wsa::kEinval;
    case EMFILE:
      return wsa::kEmfile;
    case ENFILE:
      return wsa::kEmfile;
    case EWOULDBLOCK:
      return wsa::kEwouldblock;
    case EINPROGRESS:
      return wsa::kEinprogress;
    case EALREADY:
      return wsa::kEalready;
    case EBADF:
      return wsa::kEnotsock;
    case ENOTSOCK:
      return wsa::kEnotsock;
    case EDESTADDRREQ:
      return wsa::kEdestaddrreq;
    case EMSGSIZE:
      return wsa::kEmsgsize;
    case EPROTOTYPE:
      return wsa::kEprototype;
    case ENOPROTOOPT:
      return wsa::kEnoprotoopt;
    case EPROTONOSUPPORT:
      return wsa::kEprotonosupport;
    case ESOCKTNOSUPPORT:
      return wsa::kEsocktnosupport;
    case EOPNOTSUPP:
      return wsa::kEopnotsupp;
    case EAFNOSUPPORT:
      return wsa::kEafnosupport;
    case EADDRINUSE:
      return wsa::kEaddrinuse;
    case EADDRNOTAVAIL:
      return wsa::kEaddrnotavail;
    case ENETDOWN:
      return wsa::kEnetdown;
    case ENETUNREACH:
      return wsa::kEnetunreach;
    case ENETRESET:
      return wsa::kEnetreset;
    case ECONNABORTED:
      return wsa::kEconnaborted;
    case ECONNRESET:
      return wsa::kEconnreset;
    case ENOBUFS:
      return wsa::kEnobufs;
    case EISCONN:
      return wsa::kEisconn;
    case ENOTCONN:
      return wsa::kEnotconn;
    case ESHUTDOWN:
      return wsa::kEshutdown;
    case ETIMEDOUT:
      return wsa::kEtimedout;
    case ECONNREFUSED:
      return wsa::kEconnrefused;
    case EHOSTDOWN:
      return wsa::kEhostdown;
    case EHOSTUNREACH:
      return wsa::kEhostunreach;
    default:
      return 10000 + error;
  }
}

namespace {

sockaddr_in ToSockaddr(const SockAddrIn& address) {
  sockaddr_in result{};
  result.sin_family = static_cast<sa_family_t>(address.family);
  result.sin_port = address.port;
  result.sin_addr.s_addr = address.address;
  return result;
}

// The h_errno codes that Winsock reports after a failed gethostbyname.
constexpr int kWsaHostNotFound = 11001;
constexpr int kWsaTryAgain = 11002;
constexpr int kWsaNoRecovery = 11003;
constexpr int kWsaNoData = 11004;

int WsaCodeOfLookupFailure(int failure) {
  switch (failure) {
    case EAI_AGAIN:
      return kWsaTryAgain;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
      return kWsaNoData;
    case EAI_NONAME:
      return kWsaHostNotFound;
    case EAI_MEMORY:
      return wsa::kEnobufs;
    default:
      return kWsaNoRecovery;
  }
}

// Only real descriptors reach the system; SOCKET values beyond int are not sockets here.
bool IsDescriptor(SocketHandle s) {
  return s != kInvalidSocket && s <= static_cast<SocketHandle>(INT32_MAX);
}

}  // namespace

bool PosixSockets::Descriptor(SocketHandle s, int& fd) {
  if (!IsDescriptor(s)) {
    lastError_ = wsa::kEnotsock;
    return false;
  }
  fd = static_cast<int>(s);
  return true;
}

int PosixSockets::Failed() {
  lastError_ = WsaCodeOfErrno(errno);
  return kSocketError;
}

int PosixSockets::Startup(std::uint16_t versionRequested, SocketsInfo& info) {
  // Windows Sockets 1.1 is what this emulation offers.
  if ((versionRequested & 0xFF) < 1) return 10092;  // WSAVERNOTSUPPORTED
  info.version = 0x0101;
  info.highVersion = 0x0101;
  info.maxSockets = 32767;
  ++startups_;
  return 0;
}

int PosixSockets::Cleanup() {
  if (startups_ == 0) {
    lastError_ = wsa::kNotinitialised;
    return kSocketError;
  }
  --startups_;
  return 0;
}

SocketHandle PosixSockets::Socket(int family, int type, int protocol) {
  const int fd = ::socket(family == kAfInet ? AF_INET : family,
                          type == kSockStream ? SOCK_STREAM : type, protocol);
  if (fd < 0) {
    Failed();
    return kInvalidSocket;
  }
  return static_cast<SocketHandle>(fd);
}

int PosixSockets::Bind(SocketHandle s, const SockAddrIn& address) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  const sockaddr_in native = ToSockaddr(address);
  return ::bind(fd, reinterpret_cast<const sockaddr*>(&native), sizeof native) == 0 ? 0 : Failed();
}

int PosixSockets::Connect(SocketHandle s, const SockAddrIn& address) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  const sockaddr_in native = ToSockaddr(address);
  int result = 0;
  do {
    result = ::connect(fd, reinterpret_cast<const sockaddr*>(&native), sizeof native);
  } while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : Failed();
}

int PosixSockets::SelectReadable(SocketHandle s, long seconds, long microseconds) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  // poll, not select: select cannot take descriptors above FD_SETSIZE.
  pollfd entry{fd, POLLIN, 0};
  const long long wanted = static_cast<long long>(seconds) * 1000 + microseconds / 1000;
  const int timeoutMs = static_cast<int>(std::clamp<long long>(wanted, 0, INT32_MAX));
  const int ready = ::poll(&entry, 1, timeoutMs);
  if (ready < 0) return Failed();
  if (ready == 0) return 0;
  if (entry.revents & POLLNVAL) {
    lastError_ = wsa::kEnotsock;
    return kSocketError;
  }
  if (entry.revents & (POLLIN | POLLERR)) return 1;
  // Hung up alone: a socket that never connected. Winsock's select waits out its time on it.
  ::poll(nullptr, 0, timeoutMs);
  return 0;
}

int PosixSockets::Recv(SocketHandle s, char* buffer, int length, int flags) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  if (length < 0) {
    lastError_ = wsa::kEfault;
    return kSocketError;
  }
  ssize_t received = 0;
  do {
    received = ::recv(fd, buffer, static_cast<std::size_t>(length), flags);
  } while (received < 0 && errno == EINTR);
  return received < 0 ? Failed() : static_cast<int>(received);
}

int PosixSockets::Shutdown(SocketHandle s, int how) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  const int native = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
  return ::shutdown(fd, native) == 0 ? 0 : Failed();
}

int PosixSockets::CloseSocket(SocketHandle s) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  return ::close(fd) == 0 ? 0 : Failed();
}

int PosixSockets::GetHostName(char* name, int length) {
  if (length <= 0) {
    lastError_ = wsa::kEfault;
    return kSocketError;
  }
  if (::gethostname(name, static_cast<std::size_t>(length)) != 0) {
    lastError_ = wsa::kEfault;
    return kSocketError;
  }
  name[length - 1] = '\0';
  return 0;
}

std::optional<HostRecord> PosixSockets::GetHostByName(const std::string& name) {
  // gethostbyname("") answers for the local host.
  std::string host = name;
  if (host.empty()) {
    char local[256] = {};
    if (GetHostName(local, sizeof local) != 0) return std::nullopt;
    host = local;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int failure = ::getaddrinfo(host.c_str(), nullptr, &hints, &found); failure != 0) {
    lastError_ = WsaCodeOfLookupFailure(failure);
    return std::nullopt;
  }
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
  HostRecord record;
  record.addressLength = 4;
  for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in)) continue;
    sockaddr_in address{};
    std::memcpy(&address, entry->ai_addr, sizeof address);
    std::string raw(4, '\0');
    std::memcpy(raw.data(), &address.sin_addr.s_addr, 4);
    if (std::find(record.addresses.begin(), record.addresses.end(), raw) ==
        record.addresses.end()) {
      record.addresses.push_back(raw);
    }
  }
  if (record.addresses.empty()) {
    lastError_ = kWsaNoData;
    return std::nullopt;
  }
  return record;
}

std::uint32_t PosixSockets::InetAddr(const std::string& dotted) {
  in_addr address{};
  // inet_aton, like inet_addr, also takes the short forms; 255.255.255.255 equals INADDR_NONE.
  if (::inet_aton(dotted.c_str(), &address) == 0) return kInaddrNone;
  return address.s_addr;
}

}  // namespace vekhor::platform
