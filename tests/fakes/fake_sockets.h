// A scripted socket library: name records, connect and receive results, and a record of what
// the code under test opened, closed and started, to check that every count stays balanced.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace vekhor::fakes {

class FakeSockets : public platform::Sockets {
 public:
  // Script.
  int startupResult = 0;
  platform::SocketsInfo grantedInfo{0x0101, 0x0101, 32767};
  bool socketFails = false;
  int connectError = 0;  // a WSA code makes connect fail with it
  int selectResult = 1;
  std::string receiveData;
  bool receiveFails = false;
  std::string hostName = "testhost";
  std::map<std::string, platform::HostRecord> hosts;

  // Record.
  int startups = 0;
  int cleanups = 0;
  int connects = 0;
  std::set<platform::SocketHandle> open;
  std::vector<platform::SocketHandle> closed;
  platform::SockAddrIn lastBound;
  platform::SockAddrIn lastConnected;

  int StartupCount() const { return startups - cleanups; }
  void AddHost(const std::string& name, const std::vector<std::string>& dotted);

  int Startup(std::uint16_t versionRequested, platform::SocketsInfo& info) override;
  int Cleanup() override;
  platform::SocketHandle Socket(int family, int type, int protocol) override;
  int Bind(platform::SocketHandle s, const platform::SockAddrIn& address) override;
  int Connect(platform::SocketHandle s, const platform::SockAddrIn& address) override;
  int SelectReadable(platform::SocketHandle s, long seconds, long microseconds) override;
  int Recv(platform::SocketHandle s, char* buffer, int length, int flags) override;
  int Shutdown(platform::SocketHandle s, int how) override;
  int CloseSocket(platform::SocketHandle s) override;
  int CancelBlockingCall() override { return 0; }
  int GetHostName(char* name, int length) override;
  std::optional<platform::HostRecord> GetHostByName(const std::string& name) override;
  std::uint32_t InetAddr(const std::string& dotted) override;
  int LastError() override { return lastError_; }

 private:
  int Fail(int code);
  platform::SocketHandle next_ = 0;  // the first socket is handle 0, as stdin is on POSIX
  int lastError_ = 0;
};

}  // namespace vekhor::fakes
