// The RFC 868 exchange: connect to port 37, send nothing, read the server's 4 bytes, close.
#include "net/tcpip.h"

namespace vekhor {

std::string TCPIP::SynchTime(std::string Server) {
  exchange = {};
  LocalHostIP(GetIPaddress());
  NameLookup(Server);
  if (addresses().empty()) return "";  // not resolved: no connection attempt
  RemoteHostIP(addresses().front());
  RemotePort(kTimePort);

  if (!OpenConnection()) {
    ShutdownConnection();  // release the socket and start-up the failed attempt holds
    return texts.LoadResString(text::kCouldNotMakeConnection);
  }
  std::string data;
  if (IsDataAvailable()) {
    std::int32_t received = 0;
    if (!ReceiveData(data, received) || data.empty()) {
      ShutdownConnection();
      return "";
    }
  }
  ShutdownConnection();
  return data;
}

}  // namespace vekhor
