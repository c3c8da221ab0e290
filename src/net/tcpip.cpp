// The connection primitives of TCPIP: open, wait for data, read once, close, look a name up.
#include "net/tcpip.h"

#include <array>
#include <chrono>
#include <thread>

#include "net/socket_errors.h"
#include "net/ws1.h"

namespace vekhor {

using platform::kInaddrNone;
using platform::kInvalidSocket;

namespace {
// A server that has not taken the connection in a second is not serving: one that does answers
// within a round trip, and the far side of the world is 0.3 s away.
constexpr long kConnectWaitSeconds = 1;
}  // namespace

TCPIP::TCPIP(platform::Sockets& sockets_, platform::Icmp& icmp_, const TextSource& texts_,
             platform::Clock& clock_)
    : sockets(sockets_), icmp(icmp_), texts(texts_), clock(clock_) {}

TCPIP::~TCPIP() {
  if (connectionOpen) ShutdownConnection();
}

void TCPIP::RecordError(const std::string& context, std::int32_t code) {
  lastErrorCode = code;
  lastErrorText = context + "\r\n" + SocketErrorText(code);
}

void TCPIP::SetLastErrorCode(const std::string& context) {
  RecordError(context, sockets.LastError());
}

bool TCPIP::OpenConnection() {
  // An early return of a fetch may have left the previous socket open; never lose it.
  if (connectionOpen) ShutdownConnection();

  // WSAStartup reports its error as its result, not through the last error.
  if (const int startup = sockets.Startup(kWinsockVersion11, wsaData); startup != 0) {
    RecordError("Error in OpenConnection::WSAStartup", startup);
    return false;
  }
  connectionOpen = true;

  socketHandle = sockets.Socket(platform::kAfInet, platform::kSockStream, 0);
  if (socketHandle == kInvalidSocket) {
    SetLastErrorCode("Error in OpenConnection::socket");
    return false;
  }

  localAddr = {};
  localAddr.family = platform::kAfInet;
  localAddr.port = 0;
  localAddr.address = sockets.InetAddr(localHostIP);
  if (localAddr.address == kInaddrNone) {
    SetLastErrorCode("Error in OpenConnection::inet_addr");
    return false;
  }
  if (sockets.Bind(socketHandle, localAddr) == platform::kSocketError) {
    SetLastErrorCode("Error in OpenConnection::bind");
    return false;
  }

  remoteAddr = {};
  remoteAddr.family = platform::kAfInet;
  // The port is narrowed to 16 bits: only ports 1 to 32767 are reachable, the program uses 37.
  remoteAddr.port = platform::HostToNetworkShort(
      static_cast<std::uint16_t>(static_cast<std::int16_t>(remotePort)));
  remoteAddr.address = sockets.InetAddr(remoteHostIP);
  if (remoteAddr.address == kInaddrNone) {
    SetLastErrorCode("Error in OpenConnection::inet_addr=INADDR_NONE");
    return false;
  }
  return Connect();
}

// Non-blocking, so that a server whose firewall drops the connection costs a second and not the
// system's own time-out of about 21 s.
bool TCPIP::Connect() {
  if (sockets.SetNonBlocking(socketHandle, true) == platform::kSocketError) {
    SetLastErrorCode("Error in OpenConnection::ioctlsocket");
    return false;
  }
  const std::int64_t start = clock.MonotonicMicroseconds();
  if (sockets.Connect(socketHandle, remoteAddr) == platform::kSocketError) {
    if (sockets.LastError() != platform::wsa::kEwouldblock) {
      SetLastErrorCode("Error in OpenConnection::connect");
      return false;
    }
    std::vector<platform::SelectEntry> waiting{{.socket = socketHandle, .write = true}};
    const int ready = sockets.Select(waiting, kConnectWaitSeconds, 0);
    if (ready == platform::kSocketError) {
      SetLastErrorCode("Error in OpenConnection::select");
      return false;
    }
    if (ready == 0) {
      RecordError("Error in OpenConnection::connect", platform::wsa::kEtimedout);
      return false;
    }
    if (!waiting[0].writable) {
      const int error = sockets.SocketError(socketHandle);
      RecordError("Error in OpenConnection::connect",
                  error != 0 ? error : platform::wsa::kEconnrefused);
      return false;
    }
  }
  exchange.connectUs = clock.MonotonicMicroseconds() - start;
  exchange.connected = true;
  if (sockets.SetNonBlocking(socketHandle, false) == platform::kSocketError) {
    SetLastErrorCode("Error in OpenConnection::ioctlsocket");
    return false;
  }
  return true;
}

bool TCPIP::IsDataAvailable() {
  if (!connectionOpen || socketHandle == kInvalidSocket) return false;
  const int ready = sockets.SelectReadable(socketHandle, 1, 0);
  if (ready == platform::kSocketError) {
    SetLastErrorCode("Error in IsDataAvailable::select");
    return false;
  }
  if (ready > 0) exchange.arrivalUs = clock.MonotonicMicroseconds();
  return ready > 0;
}

bool TCPIP::ReceiveData(std::string& strData, std::int32_t& lngBytesReceived) {
  std::array<char, kReceiveLimit + 1> buffer{};
  std::this_thread::sleep_for(kReceivePause);
  const int received = connectionOpen && socketHandle != kInvalidSocket
                           ? sockets.Recv(socketHandle, buffer.data(), kReceiveLimit, 0)
                           : platform::kSocketError;
  if (received < 0 || received > kReceiveLimit) {
    SetLastErrorCode("Error in RecvData::recv");
    strData.clear();
    lngBytesReceived = 0;
    return false;
  }
  // Raw bytes, one char per byte: no code page ever touches the answer.
  strData.assign(buffer.data(), static_cast<std::size_t>(received));
  lngBytesReceived = received;
  return true;
}

void TCPIP::ShutdownConnection() {
  if (connectionOpen) {
    if (socketHandle != kInvalidSocket) {
      sockets.Shutdown(socketHandle, platform::kShutdownBoth);
      sockets.CloseSocket(socketHandle);
    }
    sockets.CancelBlockingCall();
    // Only the start-up this object made is released, so the count stays balanced.
    sockets.Cleanup();
  }
  connectionOpen = false;
  socketHandle = 0;
}

std::string TCPIP::NameLookup(const std::string& Hostname) {
  // The resolver answers an empty name with this machine's own address: it names no server.
  if (Hostname.empty()) {
    addresses_.clear();
    return "";
  }
  if (!StartSockets()) return "";
  addresses_.clear();
  if (const auto host = sockets.GetHostByName(Hostname)) {
    const auto length = static_cast<std::size_t>(host->addressLength < 0 ? 0 : host->addressLength);
    for (const std::string& raw : host->addresses) {
      std::string dotted;
      for (std::size_t i = 0; i < length && i < raw.size(); ++i) {
        if (i > 0) dotted += '.';
        dotted += std::to_string(static_cast<unsigned char>(raw[i]));
      }
      addresses_.push_back(std::move(dotted));
    }
  }
  StopSockets();
  return "";
}

bool TCPIP::StartSockets() {
  platform::SocketsInfo info;
  if (sockets.Startup(kWinsockVersion11, info) != 0) return false;
  // Low byte major, high byte minor: 1.1 or later is needed.
  const std::uint16_t major = LoByte(info.version);
  const std::uint16_t minor = HiByte(info.version);
  if (major < 1 || (major == 1 && minor < 1)) {
    startupProblem = "Windows Sockets Version " + std::to_string(major) + "." +
                     std::to_string(minor) +
                     " is Not supported by Windows Sockets For 32 bit Windows environments.";
    sockets.Cleanup();  // keep the start-up count balanced
    return false;
  }
  constexpr int kMinimumSockets = 1;
  if (info.maxSockets < kMinimumSockets) {
    startupProblem = "This application requires a minimum of " + std::to_string(kMinimumSockets) +
                     " supported sockets.";
    sockets.Cleanup();
    return false;
  }
  return true;
}

void TCPIP::StopSockets() {
  sockets.Cleanup();
}

}  // namespace vekhor
