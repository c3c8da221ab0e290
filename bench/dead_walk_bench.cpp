// One synchronization run as the Synchronize button starts it, over twelve dead servers and then
// the bundled server on loopback port 37: what each dead server costs and what the whole run
// costs, beside the waits the program's design imposes on that list. The window is the program's
// own frmMain over the headless toolkit; sockets and the echo are the real POSIX backends, so the
// figures include every lookup, bind and connect the run makes. Run it through the
// `bench_dead_walk` target, which starts the bundled server.
//
// The dead servers are the two kinds a list that has outlived its servers holds, in turns: hosts
// that are gone or filtered, whose echo never comes back (the run waits out its 200 ms echo
// time-out; loopback always answers, so an echo that waits out its time-out stands in for them),
// and hosts that are up but no longer offer the Time protocol (a loopback address with nothing
// listening: the echo comes back, the connection is refused at once). The design imposes 200 ms
// for each of the first kind, nothing for the second, and the 200 ms pause before the bundled
// server's answer is read. The server answers at once (`--behaviour now`); with `--behaviour time`
// it would hold each answer until the next second begins, a wait that is the server's.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "fakes/fake_notify_icon.h"
#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "platform/icmp.h"
#include "platform/memory/memory_registry.h"
#include "platform/sockets.h"
#include "platform/system.h"
#include "timing.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDeadServers = 12;
constexpr int kDefaultSilent = 6;
constexpr int kDefaultRounds = 11;
constexpr int kWarmUpRounds = 1;
constexpr double kEchoTimeoutMs = 200;
constexpr double kReceivePauseMs = 200;
constexpr double kRatioGoal = 1.1;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The real echo, with chosen hosts that never answer, and the moment each echo of a run began:
// a run sends one echo per checked server it tries, so the echoes mark where each server's
// turn starts.
class TimedEchoes final : public vekhor::platform::Icmp {
 public:
  explicit TimedEchoes(vekhor::platform::Icmp& real) : real_(real) {}
  std::set<std::uint32_t> silent;
  std::vector<Clock::time_point> starts;
  int unanswered = 0;  // real echoes that came back with no reply: the figures mean less then

  vekhor::platform::IcmpHandle CreateFile() override { return real_.CreateFile(); }
  bool CloseHandle(vekhor::platform::IcmpHandle handle) override {
    return real_.CloseHandle(handle);
  }
  vekhor::platform::EchoResult SendEcho(vekhor::platform::IcmpHandle handle,
                                        std::uint32_t destination, const std::string& data,
                                        std::uint32_t timeoutMs) override {
    starts.push_back(Clock::now());
    if (silent.count(destination) != 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
      return {0, vekhor::platform::kIpRequestTimedOut, 0};
    }
    const vekhor::platform::EchoResult result =
        real_.SendEcho(handle, destination, data, timeoutMs);
    if (result.replies == 0) ++unanswered;
    return result;
  }

 private:
  vekhor::platform::Icmp& real_;
};

// The program over the real sockets and echo. The clock only records what it is told to set, so
// the run ends as a successful one without touching this machine's clock; there is no tray.
struct Program {
  explicit Program(int silentCount) {
    vekhor::platform::Sockets& sockets = system->platform().sockets;
    const auto store = [&](const std::string& section, const std::string& key,
                           const std::string& value) {
      window.settings.SaveSetting(vekhor::kSettingsApplication, section, key, value);
    };
    const std::string serversSection = std::string(vekhor::kSettingsSection) + "\\Servers";
    // "SysTray" stored: not a first start, so no default server joins the list.
    store(vekhor::kSettingsSection, "SysTray", "0");
    for (int index = 1; index <= kDeadServers + 1; ++index) {
      // Dead servers on 127.0.0.2 to 127.0.0.13, the bundled server last on 127.0.0.1.
      const std::string address =
          "127.0.0." + std::to_string(index <= kDeadServers ? index + 1 : 1);
      store(serversSection, "Server" + std::to_string(index), address);
      store(serversSection, "ServerChecked" + std::to_string(index), "-1");
      // The silent ones are spread over the list: first, third, fifth, ...
      if (index <= kDeadServers && (index - 1) % 2 == 0 && (index - 1) / 2 < silentCount) {
        echoes.silent.insert(sockets.InetAddr(address));
        silentPositions.insert(index - 1);
      }
    }
    window.Form_Load();
  }

  std::unique_ptr<vekhor::platform::SystemPlatform> system = vekhor::platform::MakeSystemPlatform();
  vekhor::fakes::HeadlessToolkit toolkit;
  TimedEchoes echoes{system->platform().icmp};
  vekhor::fakes::FakeConnectivity connectivity;
  vekhor::fakes::RecordingClock clock;
  vekhor::platform::MemoryRegistry registry;
  vekhor::fakes::RecordingShell shell;
  vekhor::fakes::FakeNotifyIcon notifyIcon;
  vekhor::platform::Platform platform{
      system->platform().sockets, echoes, connectivity, clock, registry, shell, notifyIcon};
  vekhor::app::frmMain window{toolkit, platform};
  std::set<int> silentPositions;
};

struct Round {
  double totalMs = 0;
  double beforeFirstServerMs = 0;
  double silentPerServerMs = 0;  // mean over the silent servers of this round
  double refusingPerServerMs = 0;
  double deadServersMs = 0;
  double bundledServerMs = 0;
};

struct Samples {
  std::vector<double> total, beforeFirst, silent, refusing, dead, bundled;
  void Add(const Round& round) {
    total.push_back(round.totalMs);
    beforeFirst.push_back(round.beforeFirstServerMs);
    silent.push_back(round.silentPerServerMs);
    refusing.push_back(round.refusingPerServerMs);
    dead.push_back(round.deadServersMs);
    bundled.push_back(round.bundledServerMs);
  }
};

// One click of Synchronize; false when the run did not end as it should: one echo per server and
// the clock set once from the bundled server.
bool RunOnce(Program& program, Round& round) {
  program.echoes.starts.clear();
  const std::size_t setBefore = program.clock.set.size();
  const Clock::time_point start = Clock::now();
  program.toolkit.form.button(vekhor::app::ControlId::cmdSync).Click();
  const Clock::time_point end = Clock::now();
  const std::vector<Clock::time_point>& starts = program.echoes.starts;
  if (starts.size() != kDeadServers + 1 || program.clock.set.size() != setBefore + 1) return false;

  round.totalMs = Milliseconds(start, end);
  round.beforeFirstServerMs = Milliseconds(start, starts.front());
  double silentMs = 0;
  double refusingMs = 0;
  for (int position = 0; position < kDeadServers; ++position) {
    const double turn = Milliseconds(starts[static_cast<std::size_t>(position)],
                                     starts[static_cast<std::size_t>(position) + 1]);
    (program.silentPositions.count(position) != 0 ? silentMs : refusingMs) += turn;
  }
  const auto silentCount = static_cast<double>(program.silentPositions.size());
  const double refusingCount = kDeadServers - silentCount;
  round.silentPerServerMs = silentCount > 0 ? silentMs / silentCount : 0;
  round.refusingPerServerMs = refusingCount > 0 ? refusingMs / refusingCount : 0;
  round.deadServersMs = silentMs + refusingMs;
  round.bundledServerMs = Milliseconds(starts.back(), end);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("VEKHOR_TIME_PORT") == nullptr ||
      std::string(std::getenv("VEKHOR_TIME_PORT")) != "37") {
    std::fprintf(stderr, "run under vekhor-timeserver --behaviour now --port 37 -- %s\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
  const int silentCount = argc > 2 ? std::atoi(argv[2]) : kDefaultSilent;
  if (rounds < 1 || silentCount < 0 || silentCount > kDeadServers / 2) {
    std::fprintf(stderr, "usage: dead_walk_bench [rounds] [silent servers, 0 to %d]\n",
                 kDeadServers / 2);
    return 2;
  }

  Program program(silentCount);
  Samples samples;
  int failedRuns = 0;
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    Round measured;
    if (!RunOnce(program, measured)) {
      ++failedRuns;
    } else if (round >= 0) {
      samples.Add(measured);
    }
  }
  if (samples.total.empty()) {
    std::printf("no run set the clock: is the bundled server on 127.0.0.1:37?\n");
    return 1;
  }

  using vekhor::bench::Median;
  const int refusingCount = kDeadServers - silentCount;
  const double imposedMs = silentCount * kEchoTimeoutMs + kReceivePauseMs;
  std::printf("walk over %d dead servers, then the bundled server: %zu runs after %d warm-up\n",
              kDeadServers, samples.total.size(), kWarmUpRounds);
  std::printf("  %d silent (echo waits out %.0f ms), %d refusing (echo answers, port 37 shut)\n",
              silentCount, kEchoTimeoutMs, refusingCount);
  std::printf("medians                          measured    imposed\n");
  std::printf("  before the first server        %8.2f ms  %6.0f ms\n", Median(samples.beforeFirst),
              0.0);
  if (silentCount > 0) {
    std::printf("  per silent server              %8.2f ms  %6.0f ms\n", Median(samples.silent),
                kEchoTimeoutMs);
  }
  std::printf("  per refusing server            %8.2f ms  %6.0f ms\n", Median(samples.refusing),
              0.0);
  std::printf("  per dead server, all twelve    %8.2f ms  %6.0f ms\n",
              Median(samples.dead) / kDeadServers, silentCount * kEchoTimeoutMs / kDeadServers);
  std::printf("  the twelve dead servers        %8.2f ms  %6.0f ms\n", Median(samples.dead),
              silentCount * kEchoTimeoutMs);
  std::printf("  the bundled server             %8.2f ms  %6.0f ms\n", Median(samples.bundled),
              kReceivePauseMs);
  std::printf("  whole run                      %8.2f ms  %6.0f ms\n", Median(samples.total),
              imposedMs);
  std::printf("ratio run / imposed waits: %.3f (goal at most %.1f)\n",
              Median(samples.total) / imposedMs, kRatioGoal);
  std::printf("each run, ms:");
  for (const double total : samples.total) std::printf(" %.1f", total);
  std::printf("\n");
  if (failedRuns != 0) std::printf("%d run(s) did not set the clock once\n", failedRuns);
  if (program.echoes.unanswered != 0) {
    std::printf(
        "%d loopback echo(es) got no reply: this machine drops them, and each cost "
        "a time-out the figures above do not expect\n",
        program.echoes.unanswered);
  }
  return failedRuns == 0 ? 0 : 1;
}
