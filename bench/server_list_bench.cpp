// The server list against the real registry (Wine's, in the cross build) with 100, 1,000 and
// 10,000 servers: the store's save (replacing a list of the same size) and load, and one Add and
// one Remove on the Servers page through its own handlers over headless controls. Each rewrites
// the whole list, so it should grow about linearly: ten times the servers may cost at most
// twelve times as long. Run it through the `bench_server_list` target.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/headless_controls.h"
#include "fakes/headless_toolkit.h"
#include "fakes/registry_backends.h"
#include "fakes/registry_fakes.h"
#include "servers/list_editing.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"
#include "timing.h"

namespace {

namespace platform = vekhor::platform;

constexpr double kMostGrowthPerTenfold = 12.0;

// The page's handlers save to the program's own Servers key. This registry moves that key, and
// the companion a save writes beside it, below the run's private key, and refuses every other
// key: the user's list and settings stay as they were whatever the handlers do.
class MovedServersKey final : public vekhor::fakes::ForwardingRegistry {
 public:
  MovedServersKey(platform::Registry& system, vekhor::ServersLocation to)
      : ForwardingRegistry(system), to_(std::move(to)) {}

  int refused = 0;

  std::int32_t OpenKeyEx(Key key, const std::string& subKey, std::uint32_t options,
                         std::uint32_t desired, Key& result) override {
    std::string path = subKey;
    return Move(key, path) ? inner_.OpenKeyEx(key, path, options, desired, result) : Refuse();
  }
  std::int32_t CreateKey(Key key, const std::string& subKey, Key& result) override {
    std::string path = subKey;
    return Move(key, path) ? inner_.CreateKey(key, path, result) : Refuse();
  }
  std::int32_t DeleteKey(Key key, const std::string& subKey) override {
    std::string path = subKey;
    return Move(key, path) ? inner_.DeleteKey(key, path) : Refuse();
  }

 private:
  // A path below an open key stays; one below a root must start with the program's Servers key.
  bool Move(Key& key, std::string& path) const {
    if (!platform::IsRootKey(key)) return true;
    const vekhor::ServersLocation program;
    if (key != program.root || path.compare(0, program.path.size(), program.path) != 0) {
      return false;
    }
    key = to_.root;
    path = to_.path + path.substr(program.path.size());
    return true;
  }
  std::int32_t Refuse() {
    ++refused;
    return platform::kErrorAccessDenied;
  }

  const vekhor::ServersLocation to_;
};

struct EveryOtherChecked final : vekhor::ServerCheckMarks {
  bool IsChecked(std::size_t index) const override { return index % 2 == 0; }
};

enum Figure { kSave, kLoad, kSaveAndLoad, kAdd, kRemove, kFigures };
constexpr const char* kFigureNames[kFigures] = {"save", "load", "save+load", "add", "remove"};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  if (rounds < 1) {
    std::fprintf(stderr, "usage: server_list_bench [rounds per size]\n");
    return 2;
  }
  // A key of this run alone, removed at the end.
  vekhor::fakes::RegistryUnderTest place(vekhor::fakes::RegistryBackend::System);
  MovedServersKey registry(place.registry(), place.servers());
  vekhor::RegistrySettingsStore settings(registry);
  vekhor::fakes::HeadlessToolkit toolkit;  // answers Yes
  const EveryOtherChecked marks;
  int failures = 0;

  std::vector<std::array<double, kFigures>> medians;
  for (const std::size_t size : {100u, 1000u, 10000u}) {
    vekhor::ServerCollection servers;
    for (std::size_t n = 1; n <= size; ++n) {
      servers.push_back("time" + std::to_string(n) + ".bench.example");
    }
    std::array<std::vector<double>, kFigures> samples;
    // The first save puts a list of this size in place for the measured ones to replace.
    if (!vekhor::SaveServers(place.registry(), servers, marks, place.servers())) ++failures;
    for (int round = 0; round < rounds; ++round) {
      vekhor::ServerCollection loaded;
      samples[kSave].push_back(vekhor::bench::MillisecondsOf([&] {
        if (!vekhor::SaveServers(place.registry(), servers, marks, place.servers())) ++failures;
      }));
      samples[kLoad].push_back(vekhor::bench::MillisecondsOf([&] {
        if (!vekhor::LoadServers(place.registry(), loaded, place.servers())) ++failures;
      }));
      if (loaded != servers) ++failures;
      samples[kSaveAndLoad].push_back(samples[kSave].back() + samples[kLoad].back());
    }

    // The page as a start shows that stored list.
    vekhor::fakes::HeadlessCheckedList lstServer;
    vekhor::fakes::HeadlessTextField txtServer;
    vekhor::FillServerList(lstServer, servers, settings);
    for (int round = 0; round < rounds; ++round) {
      samples[kAdd].push_back(vekhor::bench::MillisecondsOf([&] {
        txtServer.Type("added" + std::to_string(round) + ".bench.example");
        if (!vekhor::AddServer(txtServer, lstServer, servers, registry)) ++failures;
      }));
      samples[kRemove].push_back(vekhor::bench::MillisecondsOf([&] {
        lstServer.SetListIndex(lstServer.ListCount() / 2);
        if (!vekhor::RemoveServer(toolkit, lstServer, servers, registry)) ++failures;
      }));
    }
    // The run's key holds what the page shows, as many servers as it started with.
    vekhor::ServerCollection stored;
    if (!vekhor::LoadServers(place.registry(), stored, place.servers()) || stored != servers ||
        stored.size() != size) {
      ++failures;
    }
    std::array<double, kFigures>& median = medians.emplace_back();
    for (int figure = 0; figure < kFigures; ++figure) {
      median[figure] = vekhor::bench::Median(samples[figure]);
    }
    std::printf(
        "%6zu servers  save %8.2f ms  load %8.2f ms  save+load %8.2f ms  add %8.2f ms  remove "
        "%8.2f ms  (medians of %d)\n",
        size, median[kSave], median[kLoad], median[kSaveAndLoad], median[kAdd], median[kRemove],
        rounds);
  }
  if (!vekhor::DeleteServersKey(place.registry(), place.servers())) ++failures;
  // One question per Remove, each answered Yes; nothing outside the private key was touched.
  if (toolkit.boxes.size() != 3 * static_cast<std::size_t>(rounds)) ++failures;
  failures += registry.refused;

  // Save and load alone are shown for where the time goes; what a user waits for is judged.
  bool withinGoal = true;
  for (int figure = 0; figure < kFigures; ++figure) {
    const double ratio = medians[2][figure] / medians[1][figure];
    std::printf("%-10s 10,000 / 1,000  %6.2f", kFigureNames[figure], ratio);
    if (figure != kSave && figure != kLoad) {
      std::printf(" (at most %.0f): %s", kMostGrowthPerTenfold,
                  ratio <= kMostGrowthPerTenfold ? "PASS" : "FAIL");
      withinGoal = withinGoal && ratio <= kMostGrowthPerTenfold;
    }
    std::printf("\n");
  }
  std::printf("failed saves, loads, edits or checks  %d\n", failures);
  return failures == 0 && withinGoal ? 0 : 1;
}
