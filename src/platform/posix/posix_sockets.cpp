#include "platform/posix/posix_sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
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

// Microseconds on a clock that no setting moves, for the time left of a select's time-out.
long long MonotonicUs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
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
  const int native = type == kSockStream ? SOCK_STREAM : type == kSockDgram ? SOCK_DGRAM : type;
  const int fd = ::socket(family == kAfInet ? AF_INET : family, native, protocol);
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
  connectErrors_.erase(fd);  // a new attempt has an error of its own
  int result = 0;
  do {
    result = ::connect(fd, reinterpret_cast<const sockaddr*>(&native), sizeof native);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return 0;
  Failed();
  // Winsock says a non-blocking connect goes on in the background with WSAEWOULDBLOCK.
  if (errno == EINPROGRESS) lastError_ = wsa::kEwouldblock;
  return kSocketError;
}

int PosixSockets::SetNonBlocking(SocketHandle s, bool nonBlocking) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0) return Failed();
  const int wanted = nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
  return ::fcntl(fd, F_SETFL, wanted) == 0 ? 0 : Failed();
}

int PosixSockets::SelectReadable(SocketHandle s, long seconds, long microseconds) {
  std::vector<SelectEntry> alone{{.socket = s, .read = true}};
  return Select(alone, seconds, microseconds);
}

bool PosixSockets::Settle(SelectEntry& entry, short events) {
  // Readable as Winsock has it: data, the peer's end, or an error that recv will report.
  entry.readable = entry.read && (events & (POLLIN | POLLERR)) != 0;
  if (entry.write && (events & (POLLOUT | POLLERR | POLLHUP)) != 0) {
    // A connect that ended either way. Windows reports a failed one in the exception set alone,
    // with its error as the last error too.
    const int error = SocketError(entry.socket);
    entry.failed = error != 0;
    entry.writable = error == 0;
    if (entry.failed) lastError_ = error;
  }
  return entry.readable || entry.writable || entry.failed;
}

int PosixSockets::Select(std::vector<SelectEntry>& entries, long seconds, long microseconds) {
  // poll, not select: select cannot take descriptors above FD_SETSIZE.
  std::vector<pollfd> polled(entries.size(), pollfd{-1, 0, 0});  // -1: left out by poll
  bool anyWanted = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SelectEntry& entry = entries[i];
    entry.readable = entry.writable = entry.failed = false;
    if (!entry.read && !entry.write) continue;
    if (!Descriptor(entry.socket, polled[i].fd)) return kSocketError;
    polled[i].events = static_cast<short>((entry.read ? POLLIN : 0) | (entry.write ? POLLOUT : 0));
    anyWanted = true;
  }
  if (!anyWanted) {  // Winsock refuses a select with every set empty
    lastError_ = wsa::kEinval;
    return kSocketError;
  }
  const long long wanted = static_cast<long long>(seconds) * 1000000 + microseconds;
  const long long deadline = MonotonicUs() + std::max(wanted, 0LL);
  for (;;) {
    const long long left = std::max(deadline - MonotonicUs(), 0LL);
    const timespec timeout{static_cast<time_t>(left / 1000000),
                           static_cast<long>(left % 1000000 * 1000)};
    const int polledReady = ::ppoll(polled.data(), polled.size(), &timeout, nullptr);
    if (polledReady < 0 && errno == EINTR) continue;
    if (polledReady < 0) return Failed();
    int ready = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const short events = polled[i].revents;
      if (events == 0) continue;
      if (events & POLLNVAL) {
        lastError_ = wsa::kEnotsock;
        return kSocketError;
      }
      if (Settle(entries[i], events)) {
        ++ready;
      } else {
        // Hung up alone: a socket that never connected. Winsock waits out its time on it.
        polled[i].fd = -1;
      }
    }
    if (ready > 0 || polledReady == 0) return ready;
  }
}

int PosixSockets::SocketError(SocketHandle s) {
  int fd = -1;
  if (!Descriptor(s, fd)) return lastError_;
  if (const auto kept = connectErrors_.find(fd); kept != connectErrors_.end()) return kept->second;
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
    Failed();
    return lastError_;  // no error to read: the reason why, never 0
  }
  const int code = WsaCodeOfErrno(error);
  if (code != 0) connectErrors_[fd] = code;
  return code;
}

int PosixSockets::Send(SocketHandle s, const char* buffer, int length, int flags) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  if (length < 0) {
    lastError_ = wsa::kEfault;
    return kSocketError;
  }
  ssize_t sent = 0;
  do {
    // Winsock has no SIGPIPE: a send on a closed connection fails and the program goes on.
    sent = ::send(fd, buffer, static_cast<std::size_t>(length), flags | MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent < 0 ? Failed() : static_cast<int>(sent);
}

int PosixSockets::Recv(SocketHandle s, char* buffer, int length, int flags) {
  int fd = -1;
  if (!Descriptor(s, fd)) return kSocketError;
  if (length < 0) {
    lastError_ = wsa::kEfault;
    return kSocketError;
  }
  iovec part{buffer, static_cast<std::size_t>(length)};
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  ssize_t received = 0;
  do {
    received = ::recvmsg(fd, &message, flags);
  } while (received < 0 && errno == EINTR);
  if (received < 0) return Failed();
  // A datagram longer than the buffer: Windows fills the buffer, drops the rest and fails.
  if (message.msg_flags & MSG_TRUNC) {
    lastError_ = wsa::kEmsgsize;
    return kSocketError;
  }
  return static_cast<int>(received);
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
  connectErrors_.erase(fd);  // the descriptor's number comes back with another socket
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
