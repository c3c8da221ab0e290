// vekhor-timeserver: an RFC 868 time server on 127.0.0.1 with one behaviour per run, for the
// tests, benchmarks and demo. It never listens beyond loopback.
//
//   vekhor-timeserver --behaviour B --port P [-- command ...]
//
// With a command, it serves while the command runs (with VEKHOR_TIME_PORT set to the port it
// listens on) and exits with the command's status; without one it serves until interrupted.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "behaviours.h"
#include "options.h"

extern char** environ;

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void RequestStop(int) {
  stopRequested = 1;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Bound to 127.0.0.1; listening unless the behaviour is to refuse (connects then get a reset).
int OpenServerSocket(const timeserver::Options& options, int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(options.port));
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::fprintf(
        stderr, "vekhor-timeserver: cannot bind 127.0.0.1:%d: %s%s\n", options.port,
        std::strerror(errno),
        options.port < 1024 ? " (ports below 1024 need root or CAP_NET_BIND_SERVICE)" : "");
    ::close(fd);
    return -1;
  }
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  if (options.behaviour.kind != timeserver::Kind::Refuse && ::listen(fd, 16) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

pid_t StartCommand(const std::vector<std::string>& command, int port) {
  ::setenv("VEKHOR_TIME_PORT", std::to_string(port).c_str(), 1);
  std::vector<char*> argv;
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return child;
}

int ExitStatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
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
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  int port = 0;
  const Descriptor server(OpenServerSocket(*options, port));
  if (server.get() < 0) return 3;

  pid_t child = -1;
  if (!options->command.empty()) {
    child = StartCommand(options->command, port);
    if (child < 0) {
      std::fprintf(stderr, "vekhor-timeserver: cannot start %s\n", options->command[0].c_str());
      return 4;
    }
  } else {
    std::printf("vekhor-timeserver: listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
  }

  const bool listening = options->behaviour.kind != timeserver::Kind::Refuse;
  while (!stopRequested) {
    if (child > 0) {
      int status = 0;
      if (::waitpid(child, &status, WNOHANG) == child) return ExitStatusOf(status);
    }
    pollfd entry{server.get(), POLLIN, 0};
    if (!listening || ::poll(&entry, 1, 50) <= 0) {
      if (!listening) ::usleep(50000);
      continue;
    }
    const int connection = ::accept4(server.get(), nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    std::thread(timeserver::Serve, connection, options->behaviour).detach();
  }
  if (child > 0) {
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    return ExitStatusOf(status);
  }
  return 0;
}
