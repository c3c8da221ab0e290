// The Windows Sockets calls the program makes, as one interface: Winsock on Windows, BSD sockets
// on POSIX (errors mapped to the WSA 100xx codes), fakes in tests. IPv4 only.
#pragma once

#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vekhor::platform {

using SocketHandle = std::uintptr_t;  // SOCKET
inline constexpr SocketHandle kInvalidSocket = ~SocketHandle{0};
inline constexpr int kSocketError = -1;
inline constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFu;
inline constexpr int kAfInet = 2;
inline constexpr int kSockStream = 1;
inline constexpr int kSockDgram = 2;
inline constexpr int kShutdownBoth = 2;

// Windows Sockets error codes the backends report.
namespace wsa {
inline constexpr int kEintr = 10004;
inline constexpr int kEacces = 10013;
inline constexpr int kEfault = 10014;
inline constexpr int kEinval = 10022;
inline constexpr int kEmfile = 10024;
inline constexpr int kEwouldblock = 10035;
inline constexpr int kEinprogress = 10036;
inline constexpr int kEalready = 10037;
inline constexpr int kEnotsock = 10038;
inline constexpr int kEdestaddrreq = 10039;
inline constexpr int kEmsgsize = 10040;
inline constexpr int kEprototype = 10041;
inline constexpr int kEnoprotoopt = 10042;
inline constexpr int kEprotonosupport = 10043;
inline constexpr int kEsocktnosupport = 10044;
inline constexpr int kEopnotsupp = 10045;
inline constexpr int kEafnosupport = 10047;
inline constexpr int kEaddrinuse = 10048;
inline constexpr int kEaddrnotavail = 10049;
inline constexpr int kEnetdown = 10050;
inline constexpr int kEnetunreach = 10051;
inline constexpr int kEnetreset = 10052;
inline constexpr int kEconnaborted = 10053;
inline constexpr int kEconnreset = 10054;
inline constexpr int kEnobufs = 10055;
inline constexpr int kEisconn = 10056;
inline constexpr int kEnotconn = 10057;
inline constexpr int kEshutdown = 10058;
inline constexpr int kEtimedout = 10060;
inline constexpr int kEconnrefused = 10061;
inline constexpr int kEhostdown = 10064;
inline constexpr int kEhostunreach = 10065;
inline constexpr int kNotinitialised = 10093;
}  // namespace wsa

// What WSAStartup reports in WSADATA that the program reads.
struct SocketsInfo {
  std::uint16_t version = 0;  // low byte major, high byte minor
  std::uint16_t highVersion = 0;
  std::uint16_t maxSockets = 0;
};

// sockaddr_in: port and address in network byte order, as stored.
struct SockAddrIn {
  std::uint16_t family = 0;
  std::uint16_t port = 0;
  std::uint32_t address = 0;
};

// One socket's place in a select(): the sets it is put in, and the sets it was found in.
struct SelectEntry {
  SocketHandle socket = 0;
  bool read = false;   // wanted readable
  bool write = false;  // wanted writable (a connect that completed); also watched for errors
  bool readable = false;
  bool writable = false;
  bool failed = false;  // in the exception set: Windows reports a failed connect there
};

// hostent: the address length and each address's raw bytes, in resolver order.
struct HostRecord {
  std::int16_t addressLength = 0;
  std::vector<std::string> addresses;
};

class Sockets {
 public:
  virtual ~Sockets() = default;
  virtual int Startup(std::uint16_t versionRequested, SocketsInfo& info) = 0;  // 0 on success
  virtual int Cleanup() = 0;
  virtual SocketHandle Socket(int family, int type, int protocol) = 0;
  virtual int Bind(SocketHandle s, const SockAddrIn& address) = 0;
  virtual int Connect(SocketHandle s, const SockAddrIn& address) = 0;
  // ioctlsocket(FIONBIO): a non-blocking socket's connect fails with WSAEWOULDBLOCK at once and
  // goes on in the background.
  virtual int SetNonBlocking(SocketHandle s, bool nonBlocking) = 0;
  // select() with `s` alone in the read set and empty write and exception sets.
  virtual int SelectReadable(SocketHandle s, long seconds, long microseconds) = 0;
  // select() over several sockets: each in the read set, or in the write and exception sets, as
  // its entry asks; the number of sockets ready, 0 on time-out, SOCKET_ERROR on failure. A write
  // entry that ends up `failed` has its connect's error in SocketError.
  virtual int Select(std::vector<SelectEntry>& entries, long seconds, long microseconds) = 0;
  // getsockopt(SO_ERROR): the error of a socket's non-blocking connect, 0 when it connected.
  virtual int SocketError(SocketHandle s) = 0;
  virtual int Send(SocketHandle s, const char* buffer, int length, int flags) = 0;
  virtual int Recv(SocketHandle s, char* buffer, int length, int flags) = 0;
  virtual int Shutdown(SocketHandle s, int how) = 0;
  virtual int CloseSocket(SocketHandle s) = 0;
  virtual int CancelBlockingCall() = 0;
  virtual int GetHostName(char* name, int length) = 0;
  virtual std::optional<HostRecord> GetHostByName(const std::string& name) = 0;
  virtual std::uint32_t InetAddr(const std::string& dotted) = 0;  // network order
  virtual int LastError() = 0;
};

constexpr std::uint16_t HostToNetworkShort(std::uint16_t value) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::uint16_t>((value >> 8) | (value << 8));
  } else {
    return value;
  }
}

}  // namespace vekhor::platform
