#include "sntp_server.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <chrono>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "served_clock.h"
#include "sntp_reply.h"

namespace timeserver {
namespace {

struct Datagram {
  std::string bytes;
  sockaddr_in sender{};
  std::chrono::nanoseconds arrived{};  // on the wall clock
};

// The kernel's own arrival time (SO_TIMESTAMPNS), so a request that waited behind another still
// gets the moment it came as its receive timestamp.
std::chrono::nanoseconds ArrivalTime(msghdr& message) {
  for (cmsghdr* part = CMSG_FIRSTHDR(&message); part != nullptr;
       part = CMSG_NXTHDR(&message, part)) {
    if (part->cmsg_level == SOL_SOCKET && part->cmsg_type == SCM_TIMESTAMPNS) {
      timespec stamp{};
      std::memcpy(&stamp, CMSG_DATA(part), sizeof stamp);
      return std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec);
    }
  }
  return std::chrono::system_clock::now().time_since_epoch();
}

bool Receive(int socket, Datagram& datagram) {
  std::array<char, 1024> buffer{};
  iovec part{buffer.data(), buffer.size()};
  alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(timespec))> control{};
  msghdr message{};
  message.msg_name = &datagram.sender;
  message.msg_namelen = sizeof datagram.sender;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control.data();
  message.msg_controllen = control.size();
  const ssize_t size = ::recvmsg(socket, &message, MSG_DONTWAIT);
  if (size < 0) return false;
  datagram.bytes.assign(buffer.data(), static_cast<std::size_t>(size));
  datagram.arrived = ArrivalTime(message);
  return true;
}

}  // namespace

void AnswerDatagram(int socket, const Behaviour& behaviour) {
  Datagram request;
  if (!Receive(socket, request) || !IsClientRequest(request.bytes)) return;
  if (behaviour.kind == Kind::SntpSilence) return;

  // A far server: the request reaches it half the round trip after it left, and the reply takes
  // as long back, so a client that allows for the path still lands on the served clock.
  ServedTime received = request.arrived + behaviour.offset;
  const auto halfPath = std::chrono::microseconds(behaviour.roundTrip) / 2;
  if (halfPath.count() > 0) {
    const auto reached =
        std::chrono::duration_cast<std::chrono::system_clock::duration>(request.arrived + halfPath);
    std::this_thread::sleep_until(std::chrono::system_clock::time_point(reached));
    received = ServedNow(behaviour.offset);
  }
  const std::string reply =
      SntpReply(request.bytes, behaviour, received, ServedNow(behaviour.offset));
  std::this_thread::sleep_for(halfPath);
  ::sendto(socket, reply.data(), reply.size(), 0,
           reinterpret_cast<const sockaddr*>(&request.sender), sizeof request.sender);
}

}  // namespace timeserver
