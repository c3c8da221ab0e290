// One Add and one Remove on the Servers page with 100, 1,000 and 10,000 servers listed, through
// the page's own handlers over headless controls and the real registry (Wine's, in the cross
// build). Every edit rewrites the whole stored list, so an edit should grow about linearly with
// the list: ten times the servers may cost at most twelve times as long. Run it through the
// `bench_server_edit` target.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/headless_controls.h"
#include "fakes/headless_toolkit.h"
#include "fakes/registry_backends.h"
#include "platform/registry.h"
#include "servers/list_editing.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"
#include "timing.h"

namespace {

namespace platform = vekhor::platform;

constexpr double kMostGrowthPerTenfold = 12.0;

// The handlers save to the program's own Servers key. This registry moves that key, and the
// companion the save writes beside it, below the run's private key, and refuses every other path
// below a root: the user's list and settings stay as they were whatever the handlers do.
class MovedServersKey final : public platform::Registry {
 public:
  MovedServersKey(platform::Registry& system, const vekhor::ServersLocation& to)
      : system_(system), to_(to) {}

  int refused = 0;

  std::int32_t OpenKeyEx(platform::RegistryKey key, const std::string& subKey,
                         std::uint32_t options, std::uint32_t desired,
                         platform::RegistryKey& result) override {
    std::string path = subKey;
    if (!Move(key, path)) return Refuse();
    return system_.OpenKeyEx(key, path, options, desired, result);
  }
  std::int32_t CreateKey(platform::RegistryKey key, const std::string& subKey,
                         platform::RegistryKey& result) override {
    std::string path = subKey;
    if (!Move(key, path)) return Refuse();
    return system_.CreateKey(key, path, result);
  }
  std::int32_t DeleteKey(platform::RegistryKey key, const std::string& subKey) override {
    std::string path = subKey;
    if (!Move(key, path)) return Refuse();
    return system_.DeleteKey(key, path);
  }
  // Values are only reached through keys this registry opened.
  std::int32_t SetValueEx(platform::RegistryKey key, const std::string& valueName,
                          std::uint32_t type, const std::string& data) override {
    if (platform::IsRootKey(key)) return Refuse();
    return system_.SetValueEx(key, valueName, type, data);
  }
  std::int32_t QueryValueEx(platform::RegistryKey key, const std::string& valueName,
                            std::uint32_t* type, char* data, std::uint32_t& byteCount) override {
    if (platform::IsRootKey(key)) return Refuse();
    return system_.QueryValueEx(key, valueName, type, data, byteCount);
  }
  std::int32_t EnumValue(platform::RegistryKey key, std::uint32_t index, char* name,
                         std::uint32_t& nameLength, std::uint32_t* type,
                         std::uint32_t* dataSize) override {
    if (platform::IsRootKey(key)) return Refuse();
    return system_.EnumValue(key, index, name, nameLength, type, dataSize);
  }
  std::int32_t DeleteValue(platform::RegistryKey key, const std::string& valueName) override {
    if (platform::IsRootKey(key)) return Refuse();
    return system_.DeleteValue(key, valueName);
  }
  std::int32_t CloseKey(platform::RegistryKey key) override { return system_.CloseKey(key); }

 private:
  // A path below an open key stays; one below a root must start with the program's Servers key.
  bool Move(platform::RegistryKey& key, std::string& path) const {
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

  platform::Registry& system_;
  const vekhor::ServersLocation to_;
};

struct EveryOtherChecked final : vekhor::ServerCheckMarks {
  bool IsChecked(std::size_t index) const override { return index % 2 == 0; }
};

struct Size {
  std::size_t servers;
  int rounds;
};

}  // namespace

int main(int argc, char** argv) {
  const int roundsGiven = argc > 1 ? std::atoi(argv[1]) : 0;
  if (argc > 1 && roundsGiven < 1) {
    std::fprintf(stderr, "usage: server_edit_bench [rounds per size]\n");
    return 2;
  }
  // A key of this run alone, removed at the end.
  vekhor::fakes::RegistryUnderTest place(vekhor::fakes::RegistryBackend::System);
  MovedServersKey registry(place.registry(), place.servers());
  vekhor::RegistrySettingsStore settings(registry);
  vekhor::fakes::HeadlessToolkit toolkit;  // answers Yes
  int failures = 0;
  int edits = 0;

  std::vector<double> addMedians, removeMedians;
  for (const Size size : {Size{100, 5}, Size{1000, 5}, Size{10000, 3}}) {
    const int rounds = roundsGiven > 0 ? roundsGiven : size.rounds;
    vekhor::ServerCollection servers;
    for (std::size_t n = 1; n <= size.servers; ++n) {
      servers.push_back("time" + std::to_string(n) + ".bench.example");
    }
    // The page as a start shows a stored list of this size.
    if (!vekhor::SaveServers(registry, servers, EveryOtherChecked{})) ++failures;
    if (!vekhor::LoadServers(registry, servers)) ++failures;
    vekhor::fakes::HeadlessCheckedList lstServer;
    vekhor::fakes::HeadlessTextField txtServer;
    vekhor::FillServerList(lstServer, servers, settings);

    std::vector<double> adds, removes;
    for (int round = 0; round < rounds; ++round) {
      adds.push_back(vekhor::bench::MillisecondsOf([&] {
        txtServer.Type("added" + std::to_string(round) + ".bench.example");
        if (!vekhor::AddServer(txtServer, lstServer, servers, registry)) ++failures;
      }));
      removes.push_back(vekhor::bench::MillisecondsOf([&] {
        lstServer.SetListIndex(lstServer.ListCount() / 2);
        if (!vekhor::RemoveServer(toolkit, lstServer, servers, registry)) ++failures;
      }));
      edits += 2;
    }
    // The run's key holds what the page shows, as many servers as it started with.
    vekhor::ServerCollection stored;
    if (!vekhor::LoadServers(place.registry(), stored, place.servers()) || stored != servers ||
        stored.size() != size.servers) {
      ++failures;
    }
    addMedians.push_back(vekhor::bench::Median(adds));
    removeMedians.push_back(vekhor::bench::Median(removes));
    std::printf("%6zu servers  add %9.2f ms  remove %9.2f ms  (median of %d)\n", size.servers,
                addMedians.back(), removeMedians.back(), rounds);
  }
  if (!vekhor::DeleteServersKey(place.registry(), place.servers())) ++failures;
  // One question per Remove, each answered Yes; nothing outside the private key was touched.
  if (static_cast<int>(toolkit.boxes.size()) * 2 != edits) ++failures;
  failures += registry.refused;

  const double addRatio = addMedians[2] / addMedians[1];
  const double removeRatio = removeMedians[2] / removeMedians[1];
  std::printf("add 10,000 / 1,000      %.2f (at most %.0f): %s\n", addRatio, kMostGrowthPerTenfold,
              addRatio <= kMostGrowthPerTenfold ? "PASS" : "FAIL");
  std::printf("remove 10,000 / 1,000   %.2f (at most %.0f): %s\n", removeRatio,
              kMostGrowthPerTenfold, removeRatio <= kMostGrowthPerTenfold ? "PASS" : "FAIL");
  std::printf("failed edits or checks  %d\n", failures);
  return failures == 0 && addRatio <= kMostGrowthPerTenfold && removeRatio <= kMostGrowthPerTenfold
             ? 0
             : 1;
}
