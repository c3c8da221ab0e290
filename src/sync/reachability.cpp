#include "sync/reachability.h"

#include <algorithm>
#include <array>

#include "net/tcpip.h"
#include "net/ws1.h"

namespace vekhor {

bool IsInternetConnected(platform::Connectivity& connectivity) {
  std::uint32_t flags = 0;
  return connectivity.InternetGetConnectedState(flags);
}

namespace {

// The number at the start of `text`, stopping at the first non-digit; 0 when there is none.
int LeadingNumber(std::string_view text) {
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

bool IsUsableLocalAddress(const std::string& dotted) {
  const std::string_view text(dotted);
  if (text.substr(0, 3) == "10." || text.substr(0, 3) == "90.") return false;
  if (text.substr(0, 4) == "172.") {
    // Two characters of the second component, as "16" or "5.": 172.200 reads as 20.
    const int second = LeadingNumber(text.substr(4, 2));
    return second < 16 || second > 31;
  }
  return text.substr(0, 7) != "169.254" && text.substr(0, 7) != "192.168";
}

std::string ChooseLocalAddress(const std::vector<std::string>& dottedAddresses) {
  if (dottedAddresses.empty()) return "";
  if (IsUsableLocalAddress(dottedAddresses[0])) return dottedAddresses[0];
  if (dottedAddresses.size() > 1 && IsUsableLocalAddress(dottedAddresses[1])) {
    return dottedAddresses[1];
  }
  return dottedAddresses[0];
}

namespace {

// Holds one start-up of the socket library for the length of an operation.
class SocketsStarted {
 public:
  SocketsStarted(bool started, platform::Sockets& sockets) : started_(started), sockets_(sockets) {}
  ~SocketsStarted() {
    if (started_) sockets_.Cleanup();
  }
  SocketsStarted(const SocketsStarted&) = delete;
  SocketsStarted& operator=(const SocketsStarted&) = delete;
  explicit operator bool() const { return started_; }

 private:
  bool started_;
  platform::Sockets& sockets_;
};

class IcmpFile {
 public:
  explicit IcmpFile(platform::Icmp& icmp) : icmp_(icmp), handle_(icmp.CreateFile()) {}
  ~IcmpFile() {
    if (handle_ != platform::kInvalidIcmpHandle) icmp_.CloseHandle(handle_);
  }
  IcmpFile(const IcmpFile&) = delete;
  IcmpFile& operator=(const IcmpFile&) = delete;
  platform::IcmpHandle handle() const { return handle_; }

 private:
  platform::Icmp& icmp_;
  platform::IcmpHandle handle_;
};

constexpr std::uint32_t kEchoTimeoutMs = 200;
constexpr int kHostNameBufferSize = 256;

}  // namespace

std::string TCPIP::GetIPaddress() {
  const SocketsStarted started(StartSockets(), sockets);
  if (!started) return "";
  std::array<char, kHostNameBufferSize> name{};
  if (sockets.GetHostName(name.data(), kHostNameBufferSize) != 0) return "";
  name.back() = '\0';
  const auto host = sockets.GetHostByName(name.data());
  if (!host || host->addressLength != 4) return "";

  std::vector<std::string> dotted;
  for (const std::string& raw : host->addresses) {
    if (raw.size() < 4) continue;
    dotted.push_back(std::to_string(static_cast<unsigned char>(raw[0])) + "." +
                     std::to_string(static_cast<unsigned char>(raw[1])) + "." +
                     std::to_string(static_cast<unsigned char>(raw[2])) + "." +
                     std::to_string(static_cast<unsigned char>(raw[3])));
  }
  return ChooseLocalAddress(dotted);
}

std::int32_t TCPIP::Ping(std::string Server) {
  LocalHostIP(GetIPaddress());
  NameLookup(Server);
  if (addresses().empty()) return 0;
  const std::string target = addresses().front();
  RemoteHostIP(target);
  const auto destination = DottedToAddress(target);
  if (!destination) return 0;

  const SocketsStarted started(StartSockets(), sockets);
  const IcmpFile file(icmp);
  const platform::EchoResult echo =
      icmp.SendEcho(file.handle(), *destination, "Echo This", kEchoTimeoutMs);
  const auto negatedStatus =
      -static_cast<std::int32_t>(std::min<std::uint32_t>(echo.status, 0x7FFFFFFF));
  if (echo.replies == 0) return negatedStatus;
  if (echo.status != platform::kIpSuccess) return negatedStatus;
  // Windows reports a reply under a millisecond as 0 ms: it is still an answer.
  return std::max<std::int32_t>(
      1, static_cast<std::int32_t>(std::min<std::uint32_t>(echo.roundTripMs, 0x7FFFFFFF)));
}

}  // namespace vekhor
