#include "time_protocol.h"

#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <string>
#include <thread>

#include "served_clock.h"

namespace timeserver {
namespace {

void SendAll(int connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

// A point in a second passed this little ago still counts, so the wait stays well inside a
// client's one-second wait for the answer.
constexpr auto kGrace = std::chrono::milliseconds(10);

// The time `at` into a second of the served clock: a client that takes the middle of the second
// it reads then lands on the served clock when `at` is half a second.
std::string TimeAtItsPoint(const Behaviour& behaviour) {
  const ServedTime point = SendPoint(ServedNow(behaviour.offset), behaviour.at, kGrace);
  const auto wall =
      std::chrono::duration_cast<std::chrono::system_clock::duration>(point - behaviour.offset);
  std::this_thread::sleep_until(std::chrono::system_clock::time_point(wall));
  return TimeProtocolBytes(point);
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
      SendAll(connection, TimeAtItsPoint(behaviour));
      break;
    case Kind::Now:
      SendAll(connection, TimeProtocolBytes(ServedNow(behaviour.offset)));
      break;
    case Kind::Bytes:
      SendAll(connection, behaviour.bytes);
      break;
    case Kind::Silence:
      WaitForClientToClose(connection, stopping);
      break;
    case Kind::Flood:
      SendAll(connection, std::string(12000, 'A'));
      break;
    case Kind::Split: {
      const std::string answer = TimeProtocolBytes(ServedNow(behaviour.offset));
      SendAll(connection, answer.substr(0, 2));
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      SendAll(connection, answer.substr(2));
      break;
    }
    default:  // close; refuse and the SNTP behaviours never get a connection
      break;
  }
}

}  // namespace timeserver
