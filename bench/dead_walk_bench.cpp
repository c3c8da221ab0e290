// One Synchronize click of frmMain (headless toolkit, real POSIX sockets and echo) over twelve dead
// servers, then the bundled server on 127.0.0.1:37 (`bench_dead_walk` starts it), beside the waits
// the design imposes: 200 ms per echo that never answers, 200 ms before the answer is read. Dead
// servers alternate: silent (a stand-in echo waits out its time-out) and refusing (port 37 shut).
#include <algorithm>
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
#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "platform/system.h"
#include "timing.h"

namespace {

namespace platform = vekhor::platform;
using Clock = std::chrono::steady_clock;

constexpr int kDeadServers = 12;
constexpr double kWaitMs = 200;  // an unanswered echo's time-out, and the pause before a read

// The silent ones are spread over the list: first, third, fifth, ...
bool Silent(int position, int silentCount) {
  return position % 2 == 0 && position / 2 < silentCount;
}

// The real echo, with chosen hosts that never answer (loopback always would). A run sends one echo
// per server it tries, so the moments the echoes begin mark where each server's turn starts.
class TimedEchoes final : public platform::Icmp {
 public:
  explicit TimedEchoes(platform::Icmp& real) : real_(real) {}
  std::set<std::uint32_t> silent;
  std::vector<Clock::time_point> starts;

  platform::IcmpHandle CreateFile() override { return real_.CreateFile(); }
  bool CloseHandle(platform::IcmpHandle handle) override { return real_.CloseHandle(handle); }
  platform::EchoResult SendEcho(platform::IcmpHandle handle, std::uint32_t destination,
                                const std::string& data, std::uint32_t timeoutMs) override {
    starts.push_back(Clock::now());
    if (silent.count(destination) == 0) return real_.SendEcho(handle, destination, data, timeoutMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return {0, platform::kIpRequestTimedOut, 0};
  }

 private:
  platform::Icmp& real_;
};

// The program over the real sockets and echo. The clock only records what it is told to set, so
// the run ends as a successful one without touching this machine's clock; there is no tray.
struct Program : vekhor::fakes::FakeOs<> {
  explicit Program(int silentCount) {
    const auto store = [&](const std::string& section, const std::string& key,
                           const std::string& value) {
      window.settings.SaveSetting(vekhor::kSettingsApplication, section, key, value);
    };
    const std::string servers = std::string(vekhor::kSettingsSection) + "\\Servers";
    // "SysTray" stored: not a first start, so no default server joins the list.
    store(vekhor::kSettingsSection, "SysTray", "0");
    for (int index = 1; index <= kDeadServers + 1; ++index) {
      // Dead servers on 127.0.0.2 to 127.0.0.13, the bundled server last on 127.0.0.1.
      const std::string address =
          "127.0.0." + std::to_string(index <= kDeadServers ? index + 1 : 1);
      store(servers, "Server" + std::to_string(index), address);
      store(servers, "ServerChecked" + std::to_string(index), "-1");
      if (index <= kDeadServers && Silent(index - 1, silentCount)) {
        echoes.silent.insert(system->platform().sockets.InetAddr(address));
      }
    }
    window.Form_Load();
  }

  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  vekhor::fakes::HeadlessToolkit toolkit;
  TimedEchoes echoes{system->platform().icmp};
  platform::Platform realNetwork{
      system->platform().sockets, echoes, connectivity, clock, registry, shell, notifyIcon};
  vekhor::app::frmMain window{toolkit, realNetwork};
};

}  // namespace

int main(int argc, char** argv) {
  if (!vekhor::bench::UnderBundledServer(argv[0])) return 2;
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 11;
  const int silentCount = std::clamp(argc > 2 ? std::atoi(argv[2]) : 6, 0, kDeadServers / 2);
  Program program(silentCount);
  // Each silent server's turn, each refusing server's turn, each run; one warm-up run first.
  std::array<std::vector<double>, 3> samples;
  int failedRuns = 0;
  for (int round = -1; round < rounds; ++round) {
    program.echoes.starts.clear();
    const std::size_t setBefore = program.clock.set.size();
    const double total = vekhor::bench::MillisecondsOf(
        [&] { program.toolkit.form.button(vekhor::toolkit::ControlId::cmdSync).Click(); });
    // A run as it should be: one echo per server, the clock set once from the bundled server.
    const std::vector<Clock::time_point>& starts = program.echoes.starts;
    if (starts.size() != kDeadServers + 1 || program.clock.set.size() != setBefore + 1) {
      ++failedRuns;
    } else if (round >= 0) {
      for (int position = 0; position < kDeadServers; ++position) {
        const std::chrono::duration<double, std::milli> turn =
            starts[position + 1] - starts[position];
        samples[Silent(position, silentCount) ? 0 : 1].push_back(turn.count());
      }
      samples[2].push_back(total);
    }
  }
  const double imposedMs = (silentCount + 1) * kWaitMs;
  const double totalMs = vekhor::bench::Median(samples[2]);
  std::printf(
      "medians of %zu runs over %d silent and %d refusing servers, then the bundled one\n"
      "  per silent server    %8.2f ms (imposed %.0f ms)\n"
      "  per refusing server  %8.2f ms (imposed 0 ms)\n"
      "  whole run            %8.2f ms (imposed %.0f ms)\n"
      "ratio run / imposed waits: %.3f (goal at most 1.1); failed runs %d\n",
      samples[2].size(), silentCount, kDeadServers - silentCount, vekhor::bench::Median(samples[0]),
      kWaitMs, vekhor::bench::Median(samples[1]), totalMs, imposedMs, totalMs / imposedMs,
      failedRuns);
  return failedRuns == 0 ? 0 : 1;
}
