// Saving and loading the server list against the real registry (Wine's, in the cross build) for
// 100, 1,000 and 10,000 servers, each a few times in one run. A save replaces a list of the same
// size, as when the user edits a long list. The store should grow about linearly: ten times the
// servers may cost at most twelve times as long. Run it through the `bench_server_store` target.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fakes/registry_backends.h"
#include "servers/server_list.h"
#include "timing.h"

namespace {

constexpr double kMostGrowthPerTenfold = 12.0;

struct EveryOtherChecked final : vekhor::ServerCheckMarks {
  bool IsChecked(std::size_t index) const override { return index % 2 == 0; }
};

struct Figures {
  double save = 0;
  double load = 0;
  double both = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::atoi(argv[1]) : 5;
  if (repetitions < 1) {
    std::fprintf(stderr, "usage: server_store_bench [repetitions]\n");
    return 2;
  }
  // A key of this run alone, removed at the end.
  vekhor::fakes::RegistryUnderTest place(vekhor::fakes::RegistryBackend::System);
  vekhor::platform::Registry& registry = place.registry();
  const vekhor::ServersLocation& where = place.servers();
  const EveryOtherChecked marks;
  int failures = 0;

  std::vector<Figures> medians;
  for (const std::size_t size : {std::size_t{100}, std::size_t{1000}, std::size_t{10000}}) {
    vekhor::ServerCollection servers;
    for (std::size_t n = 1; n <= size; ++n) {
      servers.push_back("time" + std::to_string(n) + ".bench.example");
    }
    // The first save puts a list of this size in place for the measured ones to replace.
    if (!vekhor::SaveServers(registry, servers, marks, where)) ++failures;
    std::vector<double> saves, loads, both;
    for (int round = 0; round < repetitions; ++round) {
      vekhor::ServerCollection loaded;
      const double save = vekhor::bench::MillisecondsOf([&] {
        if (!vekhor::SaveServers(registry, servers, marks, where)) ++failures;
      });
      const double load = vekhor::bench::MillisecondsOf([&] {
        if (!vekhor::LoadServers(registry, loaded, where)) ++failures;
      });
      if (loaded != servers) ++failures;
      saves.push_back(save);
      loads.push_back(load);
      both.push_back(save + load);
    }
    const Figures figures{vekhor::bench::Median(saves), vekhor::bench::Median(loads),
                          vekhor::bench::Median(both)};
    std::printf("%6zu servers  save %9.2f ms  load %9.2f ms  save+load %9.2f ms  (median of %d)\n",
                size, figures.save, figures.load, figures.both, repetitions);
    medians.push_back(figures);
  }
  if (!vekhor::DeleteServersKey(registry, where)) ++failures;

  const double ratio = medians[2].both / medians[1].both;
  std::printf("save 10,000 / 1,000        %.2f\n", medians[2].save / medians[1].save);
  std::printf("load 10,000 / 1,000        %.2f\n", medians[2].load / medians[1].load);
  std::printf("save+load 10,000 / 1,000   %.2f (at most %.0f): %s\n", ratio, kMostGrowthPerTenfold,
              ratio <= kMostGrowthPerTenfold ? "PASS" : "FAIL");
  std::printf("failed saves or loads      %d\n", failures);
  return failures == 0 && ratio <= kMostGrowthPerTenfold ? 0 : 1;
}
