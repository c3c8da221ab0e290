// A scripted socket library that records what was opened, closed and started, to check balance.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "platform/sockets.h"

namespace vekhor::fakes {

class FakeSockets : public platform::Sockets {
 public:
  int startupResult = 0;
  platform::SocketsInfo grantedInfo{0x0101, 0x0101, 32767};
  bool socketFails = false;
  int connectError = 0;  // a WSA code makes connect fail with it
  int selectResult = 1;
  std::string receiveData;
  bool receiveFails = false;
  std::string hostName = "testhost";
  std::map<std::string, platform::HostRecord> hosts;

  int startups = 0;  // start-ups not yet cleaned up; negative after an unbalanced clean-up
  int connects = 0;
  std::set<platform::SocketHandle> open;
  std::vector<platform::SocketHandle> closed;
  platform::SockAddrIn lastBound;
  platform::SockAddrIn lastConnected;

  int StartupCount() const { return startups; }
  void AddHost(const std::string& name, const std::vector<std::string>& dotted) {
    platform::HostRecord record;
    record.addressLength = 4;
    for (const std::string& text : dotted) {
      const std::uint32_t address = InetAddr(text);  // first component in the lowest byte
      record.addresses.emplace_back(reinterpret_cast<const char*>(&address), 4);
    }
    hosts[name] = record;
  }

  int Startup(std::uint16_t, platform::SocketsInfo& info) override {
    if (startupResult != 0) return startupResult;
    ++startups;
    info = grantedInfo;
    return 0;
  }
  int Cleanup() override { return --startups < 0 ? Fail(platform::wsa::kNotinitialised) : 0; }
  platform::SocketHandle Socket(int, int, int) override {
    if (socketFails) {
      Fail(platform::wsa::kEmfile);
      return platform::kInvalidSocket;
    }
    open.insert(next_);
    return next_++;
  }
  int Bind(platform::SocketHandle s, const platform::SockAddrIn& address) override {
    lastBound = address;
    return open.count(s) ? 0 : Fail(platform::wsa::kEnotsock);
  }
  int Connect(platform::SocketHandle s, const platform::SockAddrIn& address) override {
    ++connects;
    lastConnected = address;
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    return connectError != 0 ? Fail(connectError) : 0;
  }
  int SelectReadable(platform::SocketHandle s, long, long) override {
    return open.count(s) ? selectResult : Fail(platform::wsa::kEnotsock);
  }
  int Recv(platform::SocketHandle s, char* buffer, int length, int) override {
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    if (receiveFails) return Fail(platform::wsa::kEconnreset);
    const auto n = std::min<std::size_t>(receiveData.size(), static_cast<std::size_t>(length));
    std::memcpy(buffer, receiveData.data(), n);
    return static_cast<int>(n);
  }
  int Shutdown(platform::SocketHandle s, int) override {
    return open.count(s) ? 0 : Fail(platform::wsa::kEnotsock);
  }
  int CloseSocket(platform::SocketHandle s) override {
    closed.push_back(s);
    return open.erase(s) ? 0 : Fail(platform::wsa::kEnotsock);
  }
  int CancelBlockingCall() override { return 0; }
  int GetHostName(char* name, int length) override {
    if (static_cast<int>(hostName.size()) >= length) return Fail(platform::wsa::kEfault);
    std::memcpy(name, hostName.c_str(), hostName.size() + 1);
    return 0;
  }
  std::optional<platform::HostRecord> GetHostByName(const std::string& name) override {
    const auto found = hosts.find(name);
    if (found == hosts.end()) return std::nullopt;
    return found->second;
  }
  std::uint32_t InetAddr(const std::string& dotted) override {
    unsigned a = 0, b = 0, c = 0, d = 0;  // host names and partial addresses are no address
    if (std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4)
      return platform::kInaddrNone;
    return a | (b << 8) | (c << 16) | (d << 24);
  }
  int LastError() override { return lastError_; }

 private:
  int Fail(int code) {
    lastError_ = code;
    return platform::kSocketError;
  }
  platform::SocketHandle next_ = 0;  // the first socket is handle 0, as stdin is on POSIX
  int lastError_ = 0;
};

}  // namespace vekhor::fakes
