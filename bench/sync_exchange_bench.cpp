// One synchronization exchange against the bundled server on loopback port 37, measured side by
// side with `rdate -p` on the same server, rounds interleaved so both see the same machine.
// Run it through the `bench_sync_exchange` target, which starts the server.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/tcpip.h"
#include "platform/system.h"
#include "timing.h"

int main(int argc, char** argv) {
  if (!vekhor::bench::UnderBundledServer(argv[0])) return 2;
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 21;
  const auto system = vekhor::platform::MakeSystemPlatform();
  const vekhor::CatalogueTexts texts(vekhor::Language::English);
  const std::string rdate = "rdate -p -o 37 127.0.0.1 >/dev/null 2>&1";

  std::vector<double> ours, theirs;
  int failures = 0;
  for (int round = 0; round < rounds; ++round) {
    ours.push_back(vekhor::bench::MillisecondsOf([&] {
      vekhor::TCPIP tcpip(system->platform().sockets, system->platform().icmp, texts);
      if (tcpip.SynchTime("127.0.0.1").size() != 4) ++failures;
    }));
    theirs.push_back(vekhor::bench::MillisecondsOf([&] {
      if (std::system(rdate.c_str()) != 0) ++failures;
    }));
  }
  const double oursMedian = vekhor::bench::Median(ours);
  const double theirsMedian = vekhor::bench::Median(theirs);
  std::printf("rounds                      %d (failed exchanges: %d)\n", rounds, failures);
  std::printf("SynchTime median            %.2f ms\n", oursMedian);
  std::printf("  beyond the 200 ms pause   %.2f ms\n", oursMedian - 200.0);
  std::printf("rdate -p median             %.2f ms (process start included)\n", theirsMedian);
  std::printf("ratio SynchTime / rdate     %.1f\n", oursMedian / theirsMedian);
  return failures == 0 ? 0 : 1;
}
