#include "behaviours.h"

#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace timeserver {
namespace {

constexpr std::int64_t kSecondsFrom1900To1970 = 2208988800;

std::string TimeBytes(std::int64_t unixSeconds) {
  const auto value = static_cast<std::uint32_t>(unixSeconds + kSecondsFrom1900To1970);
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

void SendAll(int connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

using SystemClock = std::chrono::system_clock;

// The time, sent so that a client setting its clock at once is off by well under half a second:
// early in a second the current second goes at once (at most 0.1 s old), otherwise the next one
// goes the moment it begins. The wait stays under 0.9 s, inside a client's one-second wait.
std::string TimeAtASecondBoundary() {
  const auto now = SystemClock::now();
  const auto second = std::chrono::floor<std::chrono::seconds>(now);
  if (now - second < std::chrono::milliseconds(100)) {
    return TimeBytes(second.time_since_epoch().count());
  }
  const auto next = second + std::chrono::seconds(1);
  std::this_thread::sleep_until(next);
  return TimeBytes(next.time_since_epoch().count());
}

std::int64_t NowSeconds() {
  return std::chrono::floor<std::chrono::seconds>(SystemClock::now()).time_since_epoch().count();
}

// Holds the connection without sending until the client goes away, ten seconds at most.
void WaitForClientToClose(int connection, const std::atomic<bool>& stopping) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  char scratch[256];
  while (!stopping && std::chrono::steady_clock::now() < deadline) {
    pollfd entry{connection, POLLIN, 0};
    if (::poll(&entry, 1, 100) > 0 && ::recv(connection, scratch, sizeof scratch, 0) <= 0) return;
  }
}

}  // namespace

void Serve(Descriptor owned, const Behaviour& behaviour, const std::atomic<bool>& stopping) {
  const int connection = owned.get();
  switch (behaviour.kind) {
    case Kind::Time:
      SendAll(connection, TimeAtASecondBoundary());
      break;
    case Kind::Now:
      SendAll(connection, TimeBytes(NowSeconds()));
      break;
    case Kind::Offset:
      SendAll(connection, TimeBytes(NowSeconds() + behaviour.offsetSeconds));
      break;
    case Kind::Bytes:
      SendAll(connection, behaviour.bytes);
      break;
    case Kind::Silence:
      WaitForClientToClose(connection, stopping);
      break;
    case Kind::Close:
    case Kind::Refuse:
      break;
    case Kind::Flood:
      SendAll(connection, std::string(12000, 'A'));
      break;
    case Kind::Split: {
      const std::string answer = TimeBytes(NowSeconds());
      SendAll(connection, answer.substr(0, 2));
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      SendAll(connection, answer.substr(2));
      break;
    }
  }
}

}  // namespace timeserver
