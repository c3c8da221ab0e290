// One Synchronize click over twelve dead servers, then the bundled server on 127.0.0.1:37 (the
// `bench_dead_walk` target starts it): each dead server's cost and the run's, beside the waits the
// design imposes (200 ms per echo that never answers, 200 ms before the answer is read). frmMain
// runs over the headless toolkit with the real POSIX sockets and echo. The dead servers take
// turns: silent (gone or filtered: loopback always answers, so those echoes are made to wait out
// their time-out) and refusing (a loopback address where nothing listens on port 37).
#include <array>
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

namespace platform = vekhor::platform;
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

// The real echo, with chosen hosts that never answer. A run sends one echo per server it tries,
// so the moments the echoes begin mark where each server's turn starts.
class TimedEchoes final : public platform::Icmp {
 public:
  explicit TimedEchoes(platform::Icmp& real) : real_(real) {}
  std::set<std::uint32_t> silent;
  std::vector<Clock::time_point> starts;
  int unanswered = 0;  // real echoes that came back with no reply: the figures mean less then

  platform::IcmpHandle CreateFile() override { return real_.CreateFile(); }
  bool CloseHandle(platform::IcmpHandle handle) override { return real_.CloseHandle(handle); }
  platform::EchoResult SendEcho(platform::IcmpHandle handle, std::uint32_t destination,
                                const std::string& data, std::uint32_t timeoutMs) override {
    starts.push_back(Clock::now());
    if (silent.count(destination) != 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
      return {0, platform::kIpRequestTimedOut, 0};
    }
    const platform::EchoResult result = real_.SendEcho(handle, destination, data, timeoutMs);
    if (result.replies == 0) ++unanswered;
    return result;
  }

 private:
  platform::Icmp& real_;
};

// The program over the real sockets and echo. The clock only records what it is told to set, so
// the run ends as a successful one without touching this machine's clock; there is no tray.
struct Program {
  explicit Program(int silentCount) {
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
        echoes.silent.insert(system->platform().sockets.InetAddr(address));
      }
    }
    window.Form_Load();
  }

  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  vekhor::fakes::HeadlessToolkit toolkit;
  TimedEchoes echoes{system->platform().icmp};
  vekhor::fakes::FakeConnectivity connectivity;
  vekhor::fakes::RecordingClock clock;
  platform::MemoryRegistry registry;
  vekhor::fakes::RecordingShell shell;
  vekhor::fakes::FakeNotifyIcon notifyIcon;
  platform::Platform platform{
      system->platform().sockets, echoes, connectivity, clock, registry, shell, notifyIcon};
  vekhor::app::frmMain window{toolkit, platform};
};

enum Figure { kBeforeFirst, kPerSilent, kPerRefusing, kPerDead, kDead, kBundled, kTotal, kFigures };
using Round = std::array<double, kFigures>;

// One click of Synchronize; false when the run did not end as it should: one echo per server and
// the clock set once from the bundled server.
bool RunOnce(Program& program, int silentCount, Round& round) {
  program.echoes.starts.clear();
  const std::size_t setBefore = program.clock.set.size();
  const Clock::time_point start = Clock::now();
  program.toolkit.form.button(vekhor::app::ControlId::cmdSync).Click();
  const Clock::time_point end = Clock::now();
  const std::vector<Clock::time_point>& starts = program.echoes.starts;
  if (starts.size() != kDeadServers + 1 || program.clock.set.size() != setBefore + 1) return false;

  double silentMs = 0;
  double refusingMs = 0;
  for (std::size_t position = 0; position < kDeadServers; ++position) {
    const bool silent = position % 2 == 0 && static_cast<int>(position / 2) < silentCount;
    (silent ? silentMs : refusingMs) += Milliseconds(starts[position], starts[position + 1]);
  }
  round[kBeforeFirst] = Milliseconds(start, starts.front());
  round[kPerSilent] = silentCount > 0 ? silentMs / silentCount : 0;
  round[kPerRefusing] = refusingMs / (kDeadServers - silentCount);
  round[kPerDead] = (silentMs + refusingMs) / kDeadServers;
  round[kDead] = silentMs + refusingMs;
  round[kBundled] = Milliseconds(starts.back(), end);
  round[kTotal] = Milliseconds(start, end);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!vekhor::bench::UnderBundledServer(argv[0])) return 2;
  const int rounds = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
  const int silentCount = argc > 2 ? std::atoi(argv[2]) : kDefaultSilent;
  if (rounds < 1 || silentCount < 0 || silentCount > kDeadServers / 2) {
    std::fprintf(stderr, "usage: dead_walk_bench [rounds] [silent servers, 0 to %d]\n",
                 kDeadServers / 2);
    return 2;
  }

  Program program(silentCount);
  std::array<std::vector<double>, kFigures> samples;
  int failedRuns = 0;
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    Round measured{};
    if (!RunOnce(program, silentCount, measured)) {
      ++failedRuns;
    } else if (round >= 0) {
      for (int figure = 0; figure < kFigures; ++figure) samples[figure].push_back(measured[figure]);
    }
  }
  if (samples[kTotal].empty()) {
    std::printf("no run set the clock: is the bundled server on 127.0.0.1:37?\n");
    return 1;
  }

  const double silentImposedMs = silentCount * kEchoTimeoutMs;
  const double imposedMs = silentImposedMs + kReceivePauseMs;
  const struct {
    const char* label;
    double imposedMs;
  } rows[kFigures] = {{"before the first server", 0},
                      {"per silent server", kEchoTimeoutMs},
                      {"per refusing server", 0},
                      {"per dead server, all twelve", silentImposedMs / kDeadServers},
                      {"the twelve dead servers", silentImposedMs},
                      {"the bundled server", kReceivePauseMs},
                      {"whole run", imposedMs}};
  std::printf("walk over %d dead servers, then the bundled server: %zu runs after %d warm-up\n",
              kDeadServers, samples[kTotal].size(), kWarmUpRounds);
  std::printf("  %d silent (echo waits out %.0f ms), %d refusing (echo answers, port 37 shut)\n",
              silentCount, kEchoTimeoutMs, kDeadServers - silentCount);
  std::printf("medians                          measured    imposed\n");
  for (int figure = 0; figure < kFigures; ++figure) {
    if (figure == kPerSilent && silentCount == 0) continue;
    std::printf("  %-30s %8.2f ms  %6.0f ms\n", rows[figure].label,
                vekhor::bench::Median(samples[figure]), rows[figure].imposedMs);
  }
  std::printf("ratio run / imposed waits: %.3f (goal at most %.1f)\n",
              vekhor::bench::Median(samples[kTotal]) / imposedMs, kRatioGoal);
  std::printf("each run, ms:");
  for (const double total : samples[kTotal]) std::printf(" %.1f", total);
  std::printf("\n");
  if (failedRuns != 0) std::printf("%d run(s) did not set the clock once\n", failedRuns);
  if (program.echoes.unanswered != 0) {
    std::printf(
        "%d loopback echo(es) got no reply: this machine drops them, and each cost a "
        "time-out the figures above do not expect\n",
        program.echoes.unanswered);
  }
  return failedRuns == 0 ? 0 : 1;
}
