#include "fakes/fake_sockets.h"

#include <algorithm>
#include <cstring>

namespace vekhor::fakes {

using platform::kSocketError;

void FakeSockets::AddHost(const std::string& name, const std::vector<std::string>& dotted) {
  platform::HostRecord record;
  record.addressLength = 4;
  for (const std::string& text : dotted) {
    const std::uint32_t address = InetAddr(text);  // first component in the lowest byte
    record.addresses.emplace_back(reinterpret_cast<const char*>(&address), 4);
  }
  hosts[name] = record;
}

int FakeSockets::Fail(int code) {
  lastError_ = code;
  return kSocketError;
}

int FakeSockets::Startup(std::uint16_t, platform::SocketsInfo& info) {
  if (startupResult != 0) return startupResult;
  ++startups;
  info = grantedInfo;
  return 0;
}

int FakeSockets::Cleanup() {
  ++cleanups;  // counted even when unbalanced, so that a test sees a negative count
  return StartupCount() < 0 ? Fail(platform::wsa::kNotinitialised) : 0;
}

platform::SocketHandle FakeSockets::Socket(int, int, int) {
  if (socketFails) {
    lastError_ = platform::wsa::kEmfile;
    return platform::kInvalidSocket;
  }
  const platform::SocketHandle s = next_++;
  open.insert(s);
  return s;
}

int FakeSockets::Bind(platform::SocketHandle s, const platform::SockAddrIn& address) {
  if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
  lastBound = address;
  return 0;
}

int FakeSockets::Connect(platform::SocketHandle s, const platform::SockAddrIn& address) {
  ++connects;
  lastConnected = address;
  if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
  if (connectError != 0) return Fail(connectError);
  return 0;
}

int FakeSockets::SelectReadable(platform::SocketHandle s, long, long) {
  if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
  return selectResult;
}

int FakeSockets::Recv(platform::SocketHandle s, char* buffer, int length, int) {
  if (!open.count(s)) return Fail(platform::wsa::kEnotsock);
  if (receiveFails) return Fail(platform::wsa::kEconnreset);
  const auto n = std::min<std::size_t>(receiveData.size(), static_cast<std::size_t>(length));
  std::memcpy(buffer, receiveData.data(), n);
  return static_cast<int>(n);
}

int FakeSockets::Shutdown(platform::SocketHandle s, int) {
  return open.count(s) ? 0 : Fail(platform::wsa::kEnotsock);
}

int FakeSockets::CloseSocket(platform::SocketHandle s) {
  closed.push_back(s);
  if (open.erase(s) == 0) return Fail(platform::wsa::kEnotsock);
  return 0;
}

int FakeSockets::GetHostName(char* name, int length) {
  if (static_cast<int>(hostName.size()) >= length) return Fail(platform::wsa::kEfault);
  std::memcpy(name, hostName.c_str(), hostName.size() + 1);
  return 0;
}

std::optional<platform::HostRecord> FakeSockets::GetHostByName(const std::string& name) {
  const auto found = hosts.find(name);
  if (found == hosts.end()) return std::nullopt;
  return found->second;
}

std::uint32_t FakeSockets::InetAddr(const std::string& dotted) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  char tail = 0;
  if (std::sscanf(dotted.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4 || a > 255 ||
      b > 255 || c > 255 || d > 255) {
    return platform::kInaddrNone;
  }
  return a | (b << 8) | (c << 16) | (d << 24);
}

}  // namespace vekhor::fakes
