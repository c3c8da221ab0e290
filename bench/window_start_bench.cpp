// How long Vekhor.exe takes under Wine from CreateProcess until its window is shown and its message
// loop first goes idle, beside the smallest program with a window built the same way, and how much
// memory it holds then. The two start in turns within one run, so that a busy machine or a cold
// cache weighs on both alike; the goal is at most 1.5 times the small program's time. Run it
// through the `run_window_start_bench` target; the bench is itself a client of the wineserver,
// which therefore stays up between the starts and is not part of what they cost.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "timing.h"
#include "window_launch.h"

namespace {

constexpr int kWarmUpRounds = 2;
constexpr int kDefaultRounds = 15;
constexpr double kRatioGoal = 1.5;
constexpr double kBytesPerKiB = 1024.0;

struct Series {
  const char* name;
  std::wstring path;
  std::vector<double> milliseconds;
  std::vector<double> workingSetKiB;
  std::vector<double> privateKiB;
  int failedStarts = 0;
  int idleBeforeShown = 0;
  int terminated = 0;

  void Record(const vekhor::bench::WindowLaunch& launch) {
    if (launch.terminated) ++terminated;
    if (!launch.reachedIdle) {
      ++failedStarts;
      return;
    }
    if (!launch.shownAtIdle) ++idleBeforeShown;
    milliseconds.push_back(launch.milliseconds);
    workingSetKiB.push_back(static_cast<double>(launch.workingSetBytes) / kBytesPerKiB);
    privateKiB.push_back(static_cast<double>(launch.privateBytes) / kBytesPerKiB);
  }
};

void PrintTimes(const Series& series) {
  if (series.milliseconds.empty()) {
    std::printf("%-16s no start reached its first idle pass\n", series.name);
    return;
  }
  const auto [least, most] =
      std::minmax_element(series.milliseconds.begin(), series.milliseconds.end());
  std::printf("%-16s start to idle: median %.1f ms, min %.1f ms, max %.1f ms (%zu starts)\n",
              series.name, vekhor::bench::Median(series.milliseconds), *least, *most,
              series.milliseconds.size());
  // In start order: a drift or a second mode shows here before it moves the median.
  std::printf("%-16s each start, ms:", series.name);
  for (const double sample : series.milliseconds) std::printf(" %.0f", sample);
  std::printf("\n");
}

void PrintMemory(const Series& series) {
  if (series.workingSetKiB.empty()) return;
  const auto [least, most] =
      std::minmax_element(series.workingSetKiB.begin(), series.workingSetKiB.end());
  std::printf("%-16s idle working set: median %.0f KiB (min %.0f, max %.0f), private %.0f KiB\n",
              series.name, vekhor::bench::Median(series.workingSetKiB), *least, *most,
              vekhor::bench::Median(series.privateKiB));
}

void PrintIrregularities(const Series& series) {
  if (series.failedStarts != 0) {
    std::printf("%-16s %d start(s) failed or ended before going idle\n", series.name,
                series.failedStarts);
  }
  if (series.idleBeforeShown != 0) {
    std::printf("%-16s %d start(s) went idle before the window was shown\n", series.name,
                series.idleBeforeShown);
  }
  if (series.terminated != 0) {
    std::printf("%-16s %d window(s) ignored WM_CLOSE and were terminated\n", series.name,
                series.terminated);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
  if (rounds < 1) {
    std::fprintf(stderr, "usage: window_start_bench [rounds]\n");
    return 2;
  }
  Series program{"Vekhor.exe", L"" VEKHOR_EXE_PATH, {}, {}, {}, 0, 0, 0};
  Series minimal{"minimal window", L"" VEKHOR_MINIMAL_WINDOW_PATH, {}, {}, {}, 0, 0, 0};
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    for (Series* series : {&program, &minimal}) {
      const vekhor::bench::WindowLaunch launch = vekhor::bench::LaunchAndClose(series->path);
      if (round >= 0) series->Record(launch);
    }
  }

  std::printf("window start under Wine: %d interleaved rounds after %d warm-up rounds\n", rounds,
              kWarmUpRounds);
  PrintTimes(program);
  PrintTimes(minimal);
  if (!program.milliseconds.empty() && !minimal.milliseconds.empty()) {
    const double ratio =
        vekhor::bench::Median(program.milliseconds) / vekhor::bench::Median(minimal.milliseconds);
    std::printf("ratio Vekhor.exe / minimal window: %.2f (goal at most %.1f)\n", ratio, kRatioGoal);
  }
  PrintMemory(program);
  PrintMemory(minimal);
  PrintIrregularities(program);
  PrintIrregularities(minimal);
  // Slowness is reported, never failed on; only a program that could not be measured at all is.
  return program.milliseconds.empty() || minimal.milliseconds.empty() ? 1 : 0;
}
