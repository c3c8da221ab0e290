// A scripted socket library that records what was opened, closed and started, to check balance.
// Servers can be placed on it by address (peers): each takes or refuses a connection on port 37,
// answers UDP, lies a round trip away and keeps a clock of its own; the fake time moves on by
// exactly what the network takes, so runs over it are exact and instant.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_time.h"
#include "platform/sockets.h"

namespace vekhor::fakes {

struct FakePeer {
  enum class Tcp { Accepts, Refuses, Drops };  // Drops: the connect never completes
  Tcp tcp = Tcp::Accepts;
  // The bytes sent on port 37 once the connection is accepted, given the server's clock then
  // (microseconds since 1900); without it, the library-wide receiveData.
  std::function<std::string(std::int64_t serverUs)> timeAnswer;
  // The UDP reply to a request, given the server's clock when the request came; nothing is
  // silence.
  std::function<std::optional<std::string>(const std::string& request, std::int64_t serverUs)> udp;
  std::int64_t roundTripUs = 2000;  // symmetric
  std::int64_t clockOffsetUs = 0;   // the server's clock minus the true time
};

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
  std::map<std::uint32_t, FakePeer> peers;  // by address, as InetAddr gives it
  FakeTime* time = nullptr;                 // moved on by the peers' round trips

  int startups = 0;  // start-ups not yet cleaned up; negative after an unbalanced clean-up
  int connects = 0;
  std::map<std::string, int> lookups;      // by name
  std::vector<std::uint32_t> datagramsTo;  // each UDP request's address
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
  FakePeer& Peer(const std::string& dotted) { return peers[InetAddr(dotted)]; }

  int Startup(std::uint16_t, platform::SocketsInfo& info) override {
    if (startupResult != 0) return startupResult;
    ++startups;
    info = grantedInfo;
    return 0;
  }
  int Cleanup() override { return --startups < 0 ? Fail(platform::wsa::kNotinitialised) : 0; }
  platform::SocketHandle Socket(int, int type, int) override {
    if (socketFails) {
      Fail(platform::wsa::kEmfile);
      return platform::kInvalidSocket;
    }
    open.insert(next_);
    state_[next_].type = type;
    return next_++;
  }
  int Bind(platform::SocketHandle s, const platform::SockAddrIn& address) override {
    lastBound = address;
    return open.count(s) ? 0 : Fail(platform::wsa::kEnotsock);
  }
  int Connect(platform::SocketHandle s, const platform::SockAddrIn& address) override {
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    State& socket = state_[s];
    if (socket.type == platform::kSockDgram) {  // UDP: only names the peer
      socket.peer = address.address;
      return 0;
    }
    ++connects;
    lastConnected = address;
    const auto peer = peers.find(address.address);
    if (peer == peers.end()) {
      if (socket.nonBlocking) {
        socket.connectError = connectError;
        socket.connectDoneAt = Now();
        return Fail(platform::wsa::kEwouldblock);
      }
      return connectError != 0 ? Fail(connectError) : 0;
    }
    socket.peer = address.address;
    const FakePeer& server = peer->second;
    const std::int64_t start = Now();
    if (server.tcp == FakePeer::Tcp::Accepts) {
      // The server accepts when the client's ACK comes, half a round trip after the SYN-ACK,
      // sends at once, and the answer arrives half a round trip later.
      const std::int64_t sent = start + server.roundTripUs * 3 / 2;
      socket.data = server.timeAnswer ? server.timeAnswer(ServerUs(server, sent)) : receiveData;
      socket.dataAt = start + 2 * server.roundTripUs;
    }
    socket.connectError = server.tcp == FakePeer::Tcp::Refuses ? platform::wsa::kEconnrefused : 0;
    socket.connectDoneAt = server.tcp == FakePeer::Tcp::Drops ? kNever : start + server.roundTripUs;
    if (socket.nonBlocking) return Fail(platform::wsa::kEwouldblock);
    if (server.tcp == FakePeer::Tcp::Drops) return Fail(platform::wsa::kEtimedout);
    AdvanceTo(socket.connectDoneAt);
    return socket.connectError != 0 ? Fail(socket.connectError) : 0;
  }
  int SetNonBlocking(platform::SocketHandle s, bool nonBlocking) override {
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    state_[s].nonBlocking = nonBlocking;
    return 0;
  }
  int SelectReadable(platform::SocketHandle s, long seconds, long microseconds) override {
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    if (!state_[s].peer) return selectResult;
    std::vector<platform::SelectEntry> entries{{s, true}};
    return Select(entries, seconds, microseconds);
  }
  // Waits, in fake time, for the first of the entries to become ready within the time-out.
  int Select(std::vector<platform::SelectEntry>& entries, long seconds,
             long microseconds) override {
    std::int64_t first = kNever;
    for (platform::SelectEntry& entry : entries) {
      if (!open.count(entry.socket)) return Fail(platform::wsa::kEnotsock);
      entry.readable = entry.writable = entry.failed = false;
      first = std::min(first, ReadyAt(entry));
    }
    const std::int64_t limit = Now() + seconds * 1000000LL + microseconds;
    if (first > limit) {
      AdvanceTo(limit);
      return 0;
    }
    AdvanceTo(first);
    int ready = 0;
    for (platform::SelectEntry& entry : entries) {
      if (ReadyAt(entry) > Now()) continue;
      const State& socket = state_[entry.socket];
      ++ready;
      if (entry.read) entry.readable = true;
      if (entry.write && socket.connectError != 0) entry.failed = true;
      if (entry.write && socket.connectError == 0) entry.writable = true;
    }
    return ready;
  }
  int SocketError(platform::SocketHandle s) override {
    return open.count(s) ? state_[s].connectError : platform::wsa::kEnotsock;
  }
  int Send(platform::SocketHandle s, const char* buffer, int length, int) override {
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    State& socket = state_[s];
    if (socket.type != platform::kSockDgram || !socket.peer) return length;
    datagramsTo.push_back(*socket.peer);
    const auto peer = peers.find(*socket.peer);
    if (peer == peers.end() || !peer->second.udp) return length;  // nobody there
    const FakePeer& server = peer->second;
    const std::int64_t arrives = Now() + server.roundTripUs / 2;
    const auto reply = server.udp(std::string(buffer, static_cast<std::size_t>(length)),
                                  ServerUs(server, arrives));
    if (reply) {
      socket.data = *reply;
      socket.dataAt = Now() + server.roundTripUs;
    }
    return length;
  }
  int Recv(platform::SocketHandle s, char* buffer, int length, int) override {
    if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
    if (receiveFails) return Fail(platform::wsa::kEconnreset);
    State& socket = state_[s];
    std::string data = receiveData;
    if (socket.peer) {
      if (socket.dataAt > Now()) return Fail(platform::wsa::kEwouldblock);
      data = socket.data;
      socket.data.clear();
      // Windows keeps no part of a datagram larger than the buffer.
      if (socket.type == platform::kSockDgram && data.size() > static_cast<std::size_t>(length))
        return Fail(platform::wsa::kEmsgsize);
    }
    const auto n = std::min<std::size_t>(data.size(), static_cast<std::size_t>(length));
    std::memcpy(buffer, data.data(), n);
    return static_cast<int>(n);
  }
  int Shutdown(platform::SocketHandle s, int) override {
    return open.count(s) ? 0 : Fail(platform::wsa::kEnotsock);
  }
  int CloseSocket(platform::SocketHandle s) override {
    closed.push_back(s);
    state_.erase(s);
    return open.erase(s) ? 0 : Fail(platform::wsa::kEnotsock);
  }
  int CancelBlockingCall() override { return 0; }
  int GetHostName(char* name, int length) override {
    if (static_cast<int>(hostName.size()) >= length) return Fail(platform::wsa::kEfault);
    std::memcpy(name, hostName.c_str(), hostName.size() + 1);
    return 0;
  }
  std::optional<platform::HostRecord> GetHostByName(const std::string& name) override {
    ++lookups[name];
    const auto found = hosts.find(name);
    if (found != hosts.end()) return found->second;
    // A dotted address resolves to itself, as gethostbyname does.
    const std::uint32_t address = InetAddr(name);
    if (address == platform::kInaddrNone) return std::nullopt;
    return platform::HostRecord{4, {std::string(reinterpret_cast<const char*>(&address), 4)}};
  }
  std::uint32_t InetAddr(const std::string& dotted) override {
    unsigned a = 0, b = 0, c = 0, d = 0;  // host names and partial addresses are no address
    char rest = 0;
    if (std::sscanf(dotted.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &rest) != 4)
      return platform::kInaddrNone;
    return a | (b << 8) | (c << 16) | (d << 24);
  }
  int LastError() override { return lastError_; }

 private:
  static constexpr std::int64_t kNever = INT64_MAX / 4;
  struct State {
    int type = platform::kSockStream;
    bool nonBlocking = false;
    std::optional<std::uint32_t> peer;
    int connectError = 0;
    std::int64_t connectDoneAt = kNever;
    std::int64_t dataAt = kNever;
    std::string data;
  };

  std::int64_t Now() const { return time != nullptr ? time->monotonicUs : 0; }
  void AdvanceTo(std::int64_t monotonic) {
    if (time != nullptr) time->AdvanceTo(monotonic);
  }
  std::int64_t ServerUs(const FakePeer& server, std::int64_t monotonic) const {
    const std::int64_t trueNow = time != nullptr ? time->trueUs : kFakeTrueStartUs;
    return trueNow + (monotonic - Now()) + server.clockOffsetUs;
  }
  std::int64_t ReadyAt(const platform::SelectEntry& entry) {
    const State& socket = state_[entry.socket];
    std::int64_t at = kNever;
    if (entry.write) at = std::min(at, socket.connectDoneAt);
    if (entry.read)
      at = std::min(at, socket.peer ? socket.dataAt : selectResult > 0 ? Now() : kNever);
    return at;
  }
  int Fail(int code) {
    lastError_ = code;
    return platform::kSocketError;
  }
  std::map<platform::SocketHandle, State> state_;
  platform::SocketHandle next_ = 0;  // the first socket is handle 0, as stdin is on POSIX
  int lastError_ = 0;
};

}  // namespace vekhor::fakes
