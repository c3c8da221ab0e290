// The server list's save and load, and the Servers page's Add and Remove through its handlers,
// against the real registry for 100, 1,000 and 10,000 servers; goal and target: README.md.
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/headless_controls.h"
#include "fakes/headless_toolkit.h"
#include "platform/system.h"
#include "servers/list_editing.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"
#include "timing.h"

namespace {

constexpr const char* kOwnKey = "Software\\VekhorBench-ServerList";

struct EveryOtherChecked final : vekhor::ServerCheckMarks {
  bool IsChecked(std::size_t index) const override { return index % 2 == 0; }
};

enum Figure { kSave, kLoad, kSaveAndLoad, kAdd, kRemove, kFigures };
constexpr const char* kFigureNames[kFigures] = {"save", "load", "save+load", "add", "remove"};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  // This process finds its HKEY_CURRENT_USER in a key of the run's own, removed at the end: the
  // user's list and settings stay as they were whatever the store and the handlers do.
  HKEY own = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kOwnKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &own,
                        nullptr) != ERROR_SUCCESS ||
      ::RegOverridePredefKey(HKEY_CURRENT_USER, own) != ERROR_SUCCESS) {
    std::fprintf(stderr, "could not move HKEY_CURRENT_USER aside; nothing was run\n");
    return 1;
  }
  const auto registry = vekhor::platform::MakeSystemRegistry();
  vekhor::RegistrySettingsStore settings(*registry);
  vekhor::fakes::HeadlessToolkit toolkit;  // answers Yes
  const EveryOtherChecked marks;
  int failures = 0;
  std::vector<std::array<double, kFigures>> medians;
  for (const std::size_t size : {100u, 1000u, 10000u}) {
    vekhor::ServerCollection servers;
    for (std::size_t n = 1; n <= size; ++n) {
      servers.push_back("time" + std::to_string(n) + ".bench.example");
    }
    // The first save puts a list of this size in place for the measured ones to replace; the
    // page then shows it as a start does.
    failures += !vekhor::SaveServers(*registry, servers, marks);
    vekhor::fakes::HeadlessCheckedList lstServer;
    vekhor::fakes::HeadlessTextField txtServer;
    vekhor::FillServerList(lstServer, servers, settings);
    std::array<std::vector<double>, kFigures> samples;
    const auto time = [&](Figure figure, auto work) {
      samples[figure].push_back(vekhor::bench::MillisecondsOf([&] { failures += !work(); }));
    };
    for (int round = 0; round < rounds; ++round) {
      vekhor::ServerCollection loaded;
      time(kSave, [&] { return vekhor::SaveServers(*registry, servers, marks); });
      time(kLoad, [&] { return vekhor::LoadServers(*registry, loaded); });
      failures += loaded != servers;
      samples[kSaveAndLoad].push_back(samples[kSave].back() + samples[kLoad].back());
      time(kAdd, [&] {
        txtServer.Type("added" + std::to_string(round) + ".bench.example");
        return vekhor::AddServer(txtServer, lstServer, servers, *registry);
      });
      time(kRemove, [&] {
        lstServer.SetListIndex(lstServer.ListCount() / 2);
        return vekhor::RemoveServer(toolkit, lstServer, servers, *registry);
      });
    }
    // The key holds what the page shows, as many servers as it started with.
    vekhor::ServerCollection stored;
    failures +=
        !vekhor::LoadServers(*registry, stored) || stored != servers || stored.size() != size;
    std::printf("%6zu servers, medians of %d:", size, rounds);
    std::array<double, kFigures>& median = medians.emplace_back();
    for (int figure = 0; figure < kFigures; ++figure) {
      median[figure] = vekhor::bench::Median(samples[figure]);
      std::printf("  %s %.2f ms", kFigureNames[figure], median[figure]);
    }
    std::printf("\n");
  }
  ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  ::RegCloseKey(own);
  failures += ::RegDeleteTreeA(HKEY_CURRENT_USER, kOwnKey) != ERROR_SUCCESS;
  // Save and load alone show where the time goes; what a user waits for is judged.
  bool withinGoal = true;
  std::printf("10,000 / 1,000 (goal at most 12 for save+load, add, remove):");
  for (int figure = 0; figure < kFigures; ++figure) {
    const double ratio = medians[2][figure] / medians[1][figure];
    std::printf("  %s %.2f", kFigureNames[figure], ratio);
    if (figure != kSave && figure != kLoad) withinGoal = withinGoal && ratio <= 12;
  }
  std::printf("\n%s; failed saves, loads, edits or checks %d\n", withinGoal ? "PASS" : "FAIL",
              failures);
  return failures == 0 && withinGoal ? 0 : 1;
}
