// vekhor-timeserver: a time server on 127.0.0.1 with one behaviour per run, for the tests,
// benchmarks and demo: RFC 868 over TCP, or SNTP over UDP for the sntp behaviours. It never
// listens beyond loopback.
//
//   vekhor-timeserver --behaviour B --port P [-- command ...]
//
// With a command, it serves while the command runs (with VEKHOR_TIME_PORT set to the port it
// listens on) and exits with the command's status; without one it serves until SIGINT or
// SIGTERM. Port 0 picks a free port.
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "child.h"
#include "connections.h"
#include "listener.h"
#include "options.h"
#include "sntp_server.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void RequestStop(int) {
  stopRequested = 1;
}

// The child's exit status once it has ended; -1 while it is still running.
int ChildStatus(pid_t child, bool wait) {
  int status = 0;
  pid_t ended = 0;
  do {
    ended = ::waitpid(child, &status, wait ? 0 : WNOHANG);
  } while (ended < 0 && errno == EINTR);
  if (ended == child) return timeserver::ExitStatusOf(status);
  return ended < 0 ? 1 : -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options =
      timeserver::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr,
                 "vekhor-timeserver: %s\nusage: %s --behaviour B --port P [-- command ...]\n",
                 error.c_str(), argv[0]);
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);  // a client that leaves early must not end the server
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  using timeserver::SocketKind;
  const timeserver::Kind kind = options->behaviour.kind;
  const bool sntp = timeserver::IsSntp(kind);
  const SocketKind socketKind = sntp                               ? SocketKind::Datagram
                                : kind == timeserver::Kind::Refuse ? SocketKind::Refusing
                                                                   : SocketKind::Listening;
  int port = 0;
  const timeserver::Descriptor server =
      timeserver::OpenLoopbackSocket(socketKind, options->port, port, error);
  if (!server) {
    std::fprintf(stderr, "vekhor-timeserver: %s\n", error.c_str());
    return 3;
  }

  pid_t child = -1;
  if (!options->command.empty()) {
    child = timeserver::StartChild(options->command, port);
    if (child < 0) {
      std::fprintf(stderr, "vekhor-timeserver: cannot start %s\n", options->command[0].c_str());
      return 4;
    }
  } else {
    std::printf("vekhor-timeserver: listening on 127.0.0.1:%d (%s)\n", port, sntp ? "UDP" : "TCP");
    std::fflush(stdout);
  }

  // A socket that does not listen polls as hung up at once: a refusing server only waits.
  const bool refusing = socketKind == SocketKind::Refusing;
  int status = 0;
  {
    timeserver::Connections connections(options->behaviour);
    while (!stopRequested) {
      if (child > 0 && (status = ChildStatus(child, false)) >= 0) {
        child = -1;
        break;
      }
      connections.JoinFinished();
      pollfd entry{server.get(), POLLIN, 0};
      if (::poll(&entry, refusing ? 0 : 1, 50) <= 0 || !(entry.revents & POLLIN)) continue;
      if (sntp) {
        timeserver::AnswerDatagram(server.get(), options->behaviour);
        continue;
      }
      timeserver::Descriptor connection(::accept4(server.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (connection) connections.Serve(std::move(connection));
    }
  }  // every connection thread has ended here
  if (child > 0) {
    ::kill(child, SIGTERM);
    status = ChildStatus(child, true);
  }
  return status;
}
