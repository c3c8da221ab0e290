// One synchronization exchange with the bundled server on 127.0.0.1:37 (`bench_sync_exchange`
// starts it) beside `rdate -p` with the same server, in turns so both see the same machine.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "net/tcpip.h"
#include "platform/system.h"
#include "timing.h"

int main(int argc, char** argv) {
  if (!vekhor::bench::UnderBundledServer(argv[0])) return 2;
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 21;
  const auto system = vekhor::platform::MakeSystemPlatform();
  const vekhor::CatalogueTexts texts(vekhor::Language::English);
  std::vector<double> ours, theirs;
  int failures = 0;
  for (int round = 0; round < rounds; ++round) {
    ours.push_back(vekhor::bench::MillisecondsOf([&] {
      vekhor::TCPIP tcpip(system->platform().sockets, system->platform().icmp, texts,
                          system->platform().clock);
      if (tcpip.SynchTime("127.0.0.1").size() != 4) ++failures;
    }));
    theirs.push_back(vekhor::bench::MillisecondsOf([&] {
      if (std::system("rdate -p -o 37 127.0.0.1 >/dev/null 2>&1") != 0) ++failures;
    }));
  }
  const double oursMedian = vekhor::bench::Median(ours);
  const double theirsMedian = vekhor::bench::Median(theirs);
  std::printf(
      "medians of %d: SynchTime %.2f ms (200 ms pause included), rdate -p %.2f ms "
      "(process start included), ratio %.1f; failed exchanges %d\n",
      rounds, oursMedian, theirsMedian, oursMedian / theirsMedian, failures);
  return failures == 0 ? 0 : 1;
}
