// The socket error catalogue. The texts are kept word for word as earlier versions recorded them.
#include "net/socket_errors.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vekhor {
namespace {

struct ErrorText {
  int code;
  std::string_view text;
};

constexpr std::array<ErrorText, 30> kErrorTexts = {{
    {10004, "WSAEINTR: The (blocking) call was canceled using WSACancelBlockingCall"},
    {10013, "The requested address is a broadcast address, but the appropriate flag was not set"},
    {10014, "WSAEFAULT: The namelen argument is incorrect"},
    {10022,
     "WSAEINVAL: The Windows Sockets version specified by the application is not supported by "
     "this DLL"},
    {10024, "WSAEMFILE: No more file descriptors are available"},
    {10035,
     "WSAEWOULDBLOCK: The socket is marked as nonblocking and the connection cannot be completed "
     "immediately. It is possible to select the socket while it is connecting by selecting it "
     "for writing"},
    {10036, "WSAEINPROGRESS: A blocking Windows Sockets operation is in progress"},
    {10038, "WSAENOTSOCK: The descriptor is not a socket"},
    {10040,
     "The socket is of type SOCK_DGRAM, and the datagram is larger than the maximum supported by "
     "the Windows Sockets implementation"},
    {10041, "WSAEPROTOTYPE: The specified protocol is the wrong type for this socket"},
    {10043, "WSAEPROTONOSUPPORT: The specified protocol is not supported"},
    {10044,
     "WSAESOCKTNOSUPPORT: The specified socket type is not supported in this address family"},
    {10045, "MSG_OOB was specified, but the socket is not of type SOCK_STREAM"},
    {10047, "WSAEAFNOSUPPORT: The specified address family is not supported"},
    {10048, "WSAEADDRINUSE: The specified address is already in use"},
    {10049, "WSAEADDRNOTAVAIL: The specified address is not available from the local computer"},
    {10050,
     "WSAENETDOWN: The Windows Sockets implementation has detected that the network subsystem "
     "has failed"},
    {10051, "WSAENETUNREACH: The network cant be reached from this host at this time"},
    {10052, "The connection must be reset because the Windows Sockets implementation dropped it"},
    {10053, "The virtual circuit was aborted due to timeout or other failure"},
    {10054, "The virtual circuit was reset by the remote side"},
    {10055, "WSAENOBUFS: No buffer space is available. The socket cannot be created"},
    {10056, "WSAEISCONN: The socket is already connected"},
    {10057, "The socket is not connected"},
    {10058,
     "The socket has been shutdown it is not possible to send on a socket after shutdown has "
     "been invoked with how set to 1 or 2"},
    {10060, "WSAETIMEDOUT: Attempt to connect timed out without establishing a connection"},
    {10061, "WSAECONNREFUSED: The attempt to connect was forcefully rejected"},
    {10091,
     "WSASYSNOTREADY: Indicates that the underlying network subsystem is not ready for network "
     "communication"},
    {10092,
     "WSAVERNOTSUPPORTED: The version of Windows Sockets support requested is not provided by "
     "this particular Windows Sockets implementation"},
    {10093, "WSANOTINITIALISED: A successful WSAStartup must occur before using this function"},
}};

}  // namespace

std::string SocketErrorText(int code) {
  const auto* found = std::find_if(kErrorTexts.begin(), kErrorTexts.end(),
                                   [code](const ErrorText& entry) { return entry.code == code; });
  if (found != kErrorTexts.end()) return std::string(found->text);
  return "Case unknown in TCPIP::SetLastErrorCode = " + std::to_string(code);
}

}  // namespace vekhor
