// One Synchronize click of frmMain (headless toolkit, the real POSIX sockets, echo and clock) over
// a dead network, beside the waits the design imposes. It runs in a network namespace whose
// loopback drops everything that arrives for 127.0.0.2 to 127.0.0.13 (`bench_dead_walk` makes it
// and starts the bundled server on 127.0.0.1:37 there): twelve dead servers, whose run costs
// twelve unanswered echoes of 200 ms, one second for all the connects and one for all the SNTP
// replies; and eleven of them in front of the bundled server, whose run costs eleven echoes and
// the 200 ms pause before the answer is read.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "platform/system.h"
#include "timing.h"

namespace {

namespace platform = vekhor::platform;

constexpr int kDeadServers = 12;
constexpr double kEchoWaitMs = 200;  // an unanswered echo's time-out
constexpr double kConnectWaitMs = 1000;
constexpr double kReplyWaitMs = 1000;
constexpr double kReadPauseMs = 200;

// The program over the real network and clock (which never sets this machine's clock in the
// native build), a registry of its own and no tray. A new one for each run: no server may be asked
// twice within 4 s by one program.
struct Program : vekhor::fakes::FakeOs<> {
  explicit Program(bool bundledLast) {
    const auto store = [&](const std::string& section, const std::string& key,
                           const std::string& value) {
      window.settings.SaveSetting(vekhor::kSettingsApplication, section, key, value);
    };
    const std::string servers = std::string(vekhor::kSettingsSection) + "\\Servers";
    // "SysTray" stored: not a first start, so no default server joins the list. The namespace
    // has loopback alone: offline to the Internet check.
    store(vekhor::kSettingsSection, "SysTray", "0");
    store(vekhor::kSettingsSection, "InternetConnection", "0");
    for (int index = 1; index <= kDeadServers; ++index) {
      const bool bundled = bundledLast && index == kDeadServers;
      store(servers, "Server" + std::to_string(index),
            bundled ? "127.0.0.1" : "127.0.0." + std::to_string(index + 1));
      store(servers, "ServerChecked" + std::to_string(index), "-1");
    }
    window.Form_Load();
  }

  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  vekhor::fakes::HeadlessToolkit toolkit;
  platform::Platform realNetwork{system->platform().sockets,
                                 system->platform().icmp,
                                 connectivity,
                                 system->platform().clock,
                                 registry,
                                 shell,
                                 notifyIcon};
  vekhor::app::frmMain window{toolkit, realNetwork};
};

}  // namespace

int main(int argc, char** argv) {
  if (!vekhor::bench::UnderBundledServer(argv[0])) return 2;
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  struct Case {
    const char* what;
    bool bundledLast;
    double imposedMs;
    std::vector<double> samples;
  } cases[] = {
      {"twelve dead servers",
       false,
       kDeadServers * kEchoWaitMs + kConnectWaitMs + kReplyWaitMs,
       {}},
      {"eleven dead, then the bundled server",
       true,
       (kDeadServers - 1) * kEchoWaitMs + kReadPauseMs,
       {}},
  };
  int failedRuns = 0;
  for (int round = -1; round < rounds; ++round) {
    for (Case& c : cases) {
      Program program(c.bundledLast);
      const double ms = vekhor::bench::MillisecondsOf(
          [&] { program.toolkit.form.button(vekhor::toolkit::ControlId::cmdSync).Click(); });
      const std::string status =
          program.toolkit.form.label(vekhor::toolkit::ControlId::lblStatus).caption;
      const bool gotTime = status != "No time server gave the time.";
      if (gotTime != c.bundledLast) ++failedRuns;
      if (round >= 0) c.samples.push_back(ms);
    }
  }
  std::printf("medians of %d runs (one warm-up first) in a namespace that drops 127.0.0.2-13\n",
              rounds);
  double worst = 0;
  for (const Case& c : cases) {
    const double median = vekhor::bench::Median(c.samples);
    worst = std::max(worst, median / c.imposedMs);
    std::printf("  %-38s %8.1f ms (imposed %.0f ms), ratio %.3f\n", c.what, median, c.imposedMs,
                median / c.imposedMs);
  }
  std::printf("worst ratio run / imposed waits: %.3f (goal at most 1.1); failed runs %d\n", worst,
              failedRuns);
  return failedRuns == 0 ? 0 : 1;
}
