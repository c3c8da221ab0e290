// TCPIP: one blocking outgoing TCP connection at a time over Windows Sockets 1.1, a host-name
// lookup that yields dotted IPv4 addresses, and the exchanges built on them (the RFC 868 time
// fetch, the local address choice and the ICMP echo check). One object per synchronization run.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/icmp.h"
#include "platform/sockets.h"
#include "res/catalogue.h"

namespace vekhor {

// The Time protocol's port; an answer is read once, at most this many bytes, after a pause in
// which the rest of one sent in pieces comes.
inline constexpr std::uint16_t kTimePort = 37;
inline constexpr int kReceiveLimit = 10000;
inline constexpr auto kReceivePause = std::chrono::milliseconds(200);

// When the last time fetch's connection was made and its answer came, on the monotonic clock.
struct ExchangeTiming {
  bool connected = false;       // the server accepted the connection
  std::int64_t connectUs = 0;   // how long the connect took: a round trip
  std::int64_t arrivalUs = -1;  // when the answer could be read; -1 for none
};

class TCPIP {
 public:
  TCPIP(platform::Sockets& sockets, platform::Icmp& icmp, const TextSource& texts,
        platform::Clock& clock);
  ~TCPIP();  // closes a connection still open
  TCPIP(const TCPIP&) = delete;
  TCPIP& operator=(const TCPIP&) = delete;

  // Write-only properties, read by OpenConnection.
  void RemotePort(std::int32_t lngRemotePort) { remotePort = lngRemotePort; }
  void RemoteHostIP(const std::string& strRemoteIP) { remoteHostIP = strRemoteIP; }
  void LocalHostIP(const std::string& strLocalHostIP) { localHostIP = strLocalHostIP; }

  // Connects from localHostIP to remoteHostIP:remotePort, waiting at most one second for the
  // server to accept; false (with the error recorded) on any failure, WSAETIMEDOUT for no
  // answer. A connection still held from an earlier call is closed first.
  bool OpenConnection();
  // True when the connection is readable within one second.
  bool IsDataAvailable();
  // Pauses 200 ms, then reads once, at most 10000 bytes, kept as raw bytes.
  bool ReceiveData(std::string& strData, std::int32_t& lngBytesReceived);
  void ShutdownConnection();
  // Refills addresses() with the host's IPv4 addresses in resolver order; always returns "".
  std::string NameLookup(const std::string& Hostname);

  // RFC 868 over TCP port 37: the server's answer, text 101 when no connection was made, or ""
  // on every other failure. LastExchange() tells when it came.
  std::string SynchTime(std::string Server);
  const ExchangeTiming& LastExchange() const { return exchange; }
  // The usable local IPv4 address as dotted text, or "".
  std::string GetIPaddress();
  // Round trip in ms (at least 1) of a successful echo; 0 when no reply could be judged; the
  // negated status of a failed request.
  std::int32_t Ping(std::string Server);

  const std::vector<std::string>& addresses() const { return addresses_; }
  std::int32_t LastErrorCode() const { return lastErrorCode; }
  const std::string& LastErrorText() const { return lastErrorText; }
  // The last start-up problem that is not a socket error (unsupported version, no sockets).
  const std::string& LastStartupProblem() const { return startupProblem; }

 private:
  bool Connect();
  bool StartSockets();
  void StopSockets();
  void SetLastErrorCode(const std::string& context);
  void RecordError(const std::string& context, std::int32_t code);

  platform::Sockets& sockets;
  platform::Icmp& icmp;
  const TextSource& texts;
  platform::Clock& clock;
  ExchangeTiming exchange;

  std::vector<std::string> addresses_;
  platform::SocketsInfo wsaData;
  // True while the object holds a socket and its start-up count; then socketHandle may still
  // be kInvalidSocket after a failed socket(). "No socket" is never handed to close: on POSIX
  // handle 0 is standard input.
  bool connectionOpen = false;
  platform::SocketHandle socketHandle = 0;
  std::int32_t remotePort = 0;
  std::string localHostIP;
  platform::SockAddrIn localAddr;
  std::string remoteHostIP;
  platform::SockAddrIn remoteAddr;
  std::int32_t lastErrorCode = 0;
  std::string lastErrorText;
  std::string startupProblem;
};

}  // namespace vekhor
