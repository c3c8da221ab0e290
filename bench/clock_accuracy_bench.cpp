// How far from a server's clock `Vekhor.exe /close` sets the clock, end to end under Wine. Wine
// refuses a change of more than half a second and says by how much ("NtSetSystemTime not
// allowed: difference N ms"): against a server 3 s ahead, N - 3000 is how far from the server's
// clock the program put the clock. By the Time protocol from every point of the second, by SNTP
// near and 300 ms away, and against chrony, which serves this machine's clock: there the program's
// own log line says how far off it found the clock.
//
//   clock_accuracy_bench VEKHOR_EXE TIMESERVER [rounds]
//
// Run as root (ports 37 and 123) in the Wine environment of `ctest --preset wine` (WINEPREFIX);
// the program's registry key is set aside for the run and put back.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kProgramKey = "HKCU\\Software\\VB and VBA Program Settings\\Vektal";
constexpr int kServerAheadMs = 3000;

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// Runs `argv` with Wine's error channel on, and gives what it wrote to standard error.
std::string ErrorsOf(const std::vector<std::string>& argv) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "";
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipeEnds[1], 2);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    ::setenv("WINEDEBUG", "err+all", 1);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  std::string errors;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    errors.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return errors;
}

// How far from the server's clock one /close run set the clock, in ms; nothing when Wine said
// nothing (no change asked for, or one within its half second).
std::optional<int> OffByMs(const std::string& exe, const std::string& timeserver,
                           const std::string& behaviour, const char* port) {
  const std::string errors =
      ErrorsOf({timeserver, "--behaviour", behaviour, "--port", port, "--", "wine", exe, "/close"});
  std::smatch found;
  static const std::regex difference("not allowed: difference (-?[0-9]+) ms");
  if (!std::regex_search(errors, found, difference)) return std::nullopt;
  return std::stoi(found[1]) - kServerAheadMs;
}

std::string LastOffsetLine(const std::string& exe) {
  std::ifstream log(exe.substr(0, exe.find_last_of('/') + 1) + "Log.wri");
  std::string line, last;
  while (std::getline(log, line))
    if (line.find("The clock was") != std::string::npos) last = line.substr(line.find('\t') + 1);
  return last;
}

int Run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

// The program's key, with the bundled server alone in the list and logging on.
void LendProgramKey(const std::string& saved) {
  Run("wine reg export " + Quoted(kProgramKey) + " " + Quoted(saved) + " /y");
  Run("wine reg delete " + Quoted(kProgramKey) + " /f");
  const std::string settings = std::string(kProgramKey) + "\\Horolan";
  for (const auto& [key, name, value] :
       {std::tuple{settings, "Log", "1"}, std::tuple{settings, "SysTray", "0"},
        std::tuple{settings + "\\Servers", "Server1", "127.0.0.1"},
        std::tuple{settings + "\\Servers", "ServerChecked1", "-1"}}) {
    Run("wine reg add " + Quoted(key) + " /v " + name + " /d " + value + " /f");
  }
}

void PutProgramKeyBack(const std::string& saved) {
  Run("wine reg delete " + Quoted(kProgramKey) + " /f");
  if (std::ifstream(saved)) Run("wine reg import " + Quoted(saved));
  std::remove(saved.c_str());
}

void Report(const char* what, const std::vector<int>& offs, int asked) {
  if (offs.empty()) {
    std::printf("%-40s no figure from %d runs\n", what, asked);
    return;
  }
  const auto worst = *std::max_element(offs.begin(), offs.end(),
                                       [](int a, int b) { return std::abs(a) < std::abs(b); });
  std::printf("%-40s worst %+5d ms over %zu of %d runs:", what, worst, offs.size(), asked);
  for (const int off : offs) std::printf(" %+d", off);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s VEKHOR_EXE TIMESERVER [rounds]\n", argv[0]);
    return 2;
  }
  const std::string exe = argv[1];
  const std::string timeserver = argv[2];
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
  const std::string saved = "/tmp/vekhor-accuracy-" + std::to_string(::getpid()) + ".reg";
  LendProgramKey(saved);

  std::vector<int> byPoint;
  std::printf("Time protocol, server 3 s ahead, answer sent at each point of its second:\n");
  for (int at = 50; at <= 950; at += 100) {
    const auto off = OffByMs(exe, timeserver, "time,offset=3,at=" + std::to_string(at), "37");
    std::printf("  at %3d ms: %s\n", at, off ? (std::to_string(*off) + " ms").c_str() : "-");
    if (off) byPoint.push_back(*off);
  }
  Report("Time protocol, 0.05 to 0.95 s", byPoint, 10);
  for (const auto& [what, behaviour] :
       {std::pair{"SNTP on loopback", "sntp,offset=3"},
        std::pair{"SNTP, 300 ms round trip", "sntp,offset=3,round-trip=300"}}) {
    std::vector<int> offs;
    for (int round = 0; round < rounds; ++round) {
      if (const auto off = OffByMs(exe, timeserver, behaviour, "123")) offs.push_back(*off);
    }
    Report(what, offs, rounds);
  }
  // chrony serves this machine's clock, which Wine's is: the program finds it right.
  const int chrony =
      Run("bash -c \". tools/setup.sh && vekhor_with_chrony /tmp/vekhor-chrony wine " + exe +
          " /close\"");
  std::printf("%-40s %s\n", "chrony on 127.0.0.1:123",
              chrony == 0 ? LastOffsetLine(exe).c_str() : "not run (needs chrony and root)");

  PutProgramKeyBack(saved);
  return byPoint.size() == 10 ? 0 : 1;
}
