// TCPIP: one blocking outgoing TCP connection at a time over Windows Sockets 1.1, a host-name
// lookup that yields dotted IPv4 addresses, and the exchanges built on them (the RFC 868 time
// fetch, the local address choice and the ICMP echo check). One object per synchronization run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/icmp.h"
#include "platform/sockets.h"
#include "res/catalogue.h"

namespace vekhor {

class TCPIP {
 public:
  TCPIP(platform::Sockets& sockets, platform::Icmp& icmp, const TextSource& texts);
  ~TCPIP();  // closes a connection still open
  TCPIP(const TCPIP&) = delete;
  TCPIP& operator=(const TCPIP&) = delete;

  // Write-only properties, read by OpenConnection.
  void RemotePort(std::int32_t lngRemotePort) { remotePort = lngRemotePort; }
  void RemoteHostIP(const std::string& strRemoteIP) { remoteHostIP = strRemoteIP; }
  void LocalHostIP(const std::string& strLocalHostIP) { localHostIP = strLocalHostIP; }

  // Connects from localHostIP to remoteHostIP:remotePort; false (with the error recorded) on
  // any failure. A connection still held from an earlier call is closed first.
  bool OpenConnection();
  // True when the connection is readable within one second.
  bool IsDataAvailable();
  // Pauses 200 ms, then reads once, at most 10000 bytes, kept as raw bytes.
  bool ReceiveData(std::string& strData, std::int32_t& lngBytesReceived);
  void ShutdownConnection();
  // Refills addresses() with the host's IPv4 addresses in resolver order; always returns "".
  std::string NameLookup(const std::string& Hostname);

  // RFC 868 over TCP port 37: the server's answer, text 101 when no connection was made, or ""
  // on every other failure.
  std::string SynchTime(std::string Server);
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
  bool StartSockets();
  void StopSockets();
  void SetLastErrorCode(const std::string& context);
  void RecordError(const std::string& context, std::int32_t code);

  platform::Sockets& sockets;
  platform::Icmp& icmp;
  const TextSource& texts;

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
