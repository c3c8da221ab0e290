// Vekhor.exe started under Wine in turns with a yardstick built the same way (minimal.cpp), the
// order swapped every round so that a busy machine or a cold cache weighs on both alike, each
// start timed from just before CreateProcess. The bench is itself a client of the wineserver,
// which so stays up between the starts and is not part of what they cost.
//
// `start_bench window [rounds]` (target `run_window_start_bench`): until the window is shown and
// the message loop first goes idle, beside the smallest program with a window, and the memory
// held then. Goal: at most 1.5 times the yardstick's time.
//
// `start_bench close [rounds]` (target `bench_close_mode`, with the bundled server on port 37 and
// `--behaviour now`: `--behaviour time` would hold each answer up to 0.9 s): `Vekhor.exe /close`
// until it has ended, beside a program with the same libraries and manifest that ends at once.
// The run fetches one answer, whose read the design delays by 200 ms; goal: at most 150 ms more.
// Wine takes a clock change only within half a second of its own clock, so many runs end with
// status 2 instead of 0, after the same work; both count.
#include <windows.h>
// psapi.h builds on the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "timing.h"

namespace {

using vekhor::bench::Median;

constexpr int kWarmUpRounds = 2;
constexpr DWORD kTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 10000;
// Exit statuses of close mode: the time was fetched, and Wine took the clock change or not.
constexpr DWORD kClockSet = 0;
constexpr DWORD kClockRefused = 2;

enum class Until { FirstIdle, Exit };

// One program's starts. A start counts when it went idle while still running (FirstIdle), or
// ended in time with an accepted exit status (Exit). At the first idle pass a shown window should
// exist: if not, the time says less than it seems to.
struct Series {
  const char* name;
  std::wstring commandLine;
  std::vector<DWORD> accepted{};
  std::vector<double> times{}, workingSetKiB{}, privateKiB{};
  std::vector<DWORD> statuses{};
  int failed = 0;
  int idleBeforeShown = 0;
  int terminated = 0;  // ignored WM_CLOSE, or did not end in time
};

// The program's own window: shown, top-level and unowned, which leaves out tooltips and the
// hidden helper windows a toolkit may create.
HWND ShownWindowOf(DWORD processId) {
  std::pair<DWORD, HWND> search{processId, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto& [wanted, found] = *reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != wanted || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) {
          return TRUE;
        }
        found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// As its close box does, once the window is there. Vekhor.exe hides in the notification area on
// that close and ends on one that comes while it is hidden.
bool CloseByWindow(const PROCESS_INFORMATION& process) {
  constexpr DWORD kPollMs = 20;
  HWND window = nullptr;
  bool closedHidden = false;
  for (DWORD waited = 0; waited < kCloseTimeoutMs; waited += kPollMs) {
    if (window == nullptr) {
      window = ShownWindowOf(process.dwProcessId);
      if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (!closedHidden && !::IsWindowVisible(window)) {
      closedHidden = ::PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
    }
    if (::WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) return true;
  }
  return false;
}

// One start, recorded unless `warmUp`. The process has ended when this returns, so that the next
// start finds the screen as before.
void Start(Series& series, Until until, bool warmUp) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  bool created = false;
  DWORD waited = WAIT_FAILED;
  const double milliseconds = vekhor::bench::MillisecondsOf([&] {
    created = ::CreateProcessW(nullptr, series.commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process) != FALSE;
    if (!created) return;
    waited = until == Until::FirstIdle ? ::WaitForInputIdle(process.hProcess, kTimeoutMs)
                                       : ::WaitForSingleObject(process.hProcess, kTimeoutMs);
  });
  if (!created) {
    series.failed += warmUp ? 0 : 1;
    return;
  }
  // WaitForInputIdle also returns 0 when the process has ended: that start reached no idle pass.
  const bool running = ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
  const bool idle = until == Until::FirstIdle && waited == 0 && running;
  const bool shown = idle && ShownWindowOf(process.dwProcessId) != nullptr;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (idle) {
    ::GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
  }
  const bool terminated = running && !(idle && CloseByWindow(process));
  if (terminated) {
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, kTimeoutMs);
  }
  DWORD status = STILL_ACTIVE;
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (warmUp) return;
  series.terminated += terminated ? 1 : 0;
  const bool accepted =
      std::find(series.accepted.begin(), series.accepted.end(), status) != series.accepted.end();
  if (until == Until::FirstIdle ? !idle : waited != 0 || !accepted) {
    ++series.failed;
    return;
  }
  series.idleBeforeShown += idle && !shown ? 1 : 0;
  series.times.push_back(milliseconds);
  series.statuses.push_back(status);
  if (idle) {
    series.workingSetKiB.push_back(static_cast<double>(memory.WorkingSetSize) / 1024);
    // Windows reports the private commit in both fields; an older Wine fills only the second.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    series.privateKiB.push_back(static_cast<double>(privateBytes) / 1024);
  }
}

// Both programs in turns, the order swapped every round, so that a busy machine or a cold cache
// weighs on both alike.
void InTurns(Series& first, Series& second, Until until, int rounds) {
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    Start(round % 2 == 0 ? first : second, until, round < 0);
    Start(round % 2 == 0 ? second : first, until, round < 0);
  }
}

void PrintCount(const char* name, int count, const char* what) {
  if (count != 0) std::printf("%-18s %d %s\n", name, count, what);
}

// Median, least and most, then each time in start order (with its exit status in close mode): a
// drift or a second mode shows there before it moves the median. Then the memory, if measured.
void Print(const Series& series, Until until) {
  const char* name = series.name;
  if (series.times.empty()) {
    std::printf("%-18s no start was measured\n", name);
  } else {
    const auto [least, most] = std::minmax_element(series.times.begin(), series.times.end());
    std::printf("%-18s start to %s: median %.1f ms, min %.1f ms, max %.1f ms (%zu starts)\n", name,
                until == Until::FirstIdle ? "idle" : "exit", Median(series.times), *least, *most,
                series.times.size());
    std::printf("%-18s each start, ms%s:", name, until == Until::Exit ? " (exit status)" : "");
    for (std::size_t index = 0; index < series.times.size(); ++index) {
      std::printf(" %.0f", series.times[index]);
      if (until == Until::Exit) std::printf(" (%lu)", series.statuses[index]);
    }
    std::printf("\n");
  }
  if (!series.workingSetKiB.empty()) {
    const auto [least, most] =
        std::minmax_element(series.workingSetKiB.begin(), series.workingSetKiB.end());
    std::printf("%-18s idle working set: median %.0f KiB (min %.0f, max %.0f), private %.0f KiB\n",
                name, Median(series.workingSetKiB), *least, *most, Median(series.privateKiB));
  }
  PrintCount(name, series.failed, "start(s) failed, or ended or hung before they were measured");
  PrintCount(name, series.idleBeforeShown, "start(s) went idle before the window was shown");
  PrintCount(name, series.terminated,
             "start(s) did not end on WM_CLOSE, or hung, and were terminated");
}

int WindowStart(int rounds) {
  constexpr double kRatioGoal = 1.5;
  Series program{"Vekhor.exe", L"\"" VEKHOR_EXE_PATH L"\""};
  Series minimal{"minimal window", L"\"" VEKHOR_MINIMAL_WINDOW_PATH L"\""};
  InTurns(program, minimal, Until::FirstIdle, rounds);
  std::printf("window start under Wine: %d interleaved rounds after %d warm-up rounds\n", rounds,
              kWarmUpRounds);
  Print(program, Until::FirstIdle);
  Print(minimal, Until::FirstIdle);
  // Slowness is reported, never failed on; only a program that could not be measured at all is.
  if (program.times.empty() || minimal.times.empty()) return 1;
  std::printf("ratio Vekhor.exe / minimal window: %.2f (goal at most %.1f)\n",
              Median(program.times) / Median(minimal.times), kRatioGoal);
  return 0;
}

constexpr const char* kSettingsRoot = "Software\\VB and VBA Program Settings";
constexpr const char* kMakerKey = "Software\\VB and VBA Program Settings\\Vektal";
constexpr const char* kProgramKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";
constexpr const char* kSetAsideKey = "Software\\VekhorBench-CloseMode-SetAside";

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

bool CopyKey(const char* from, const char* to) {
  HKEY source = nullptr;
  HKEY target = nullptr;
  bool copied = false;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) == ERROR_SUCCESS &&
      ::RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                        nullptr) == ERROR_SUCCESS) {
    copied = ::RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
  }
  if (target != nullptr) ::RegCloseKey(target);
  if (source != nullptr) ::RegCloseKey(source);
  return copied;
}

void SetValue(const char* key, const char* name, const char* value) {
  ::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value,
                    static_cast<DWORD>(std::strlen(value) + 1));
}

// For the length of the bench the program finds the bundled server as the first and only checked
// entry and "SysTray" stored (not a first start, which would add the default servers). What the
// key held is set aside under a key of the bench's own and put back at the end, also at the next
// start after an interrupted run; parent keys the bench created are removed again.
class ProgramKeyLoan {
 public:
  ProgramKeyLoan() {
    // A set-aside key at the start is what an interrupted bench left: its content is the user's.
    if (KeyExists(kSetAsideKey)) PutBack();
    hadSettingsRoot_ = KeyExists(kSettingsRoot);
    hadMakerKey_ = KeyExists(kMakerKey);
    if (KeyExists(kProgramKey) && !CopyKey(kProgramKey, kSetAsideKey)) {
      ::RegDeleteTreeA(HKEY_CURRENT_USER, kSetAsideKey);
      return;  // nothing touched: the bench must not run over the user's list
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    SetValue(kProgramKey, "SysTray", "0");
    SetValue(kServersKey, "Server1", "127.0.0.1");
    SetValue(kServersKey, "ServerChecked1", "-1");
    ready_ = true;
  }
  ~ProgramKeyLoan() {
    if (!ready_) return;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    if (KeyExists(kSetAsideKey)) PutBack();
    // RegDeleteKey fails on a key that still has subkeys: what a user put below them stays.
    if (!hadMakerKey_) ::RegDeleteKeyA(HKEY_CURRENT_USER, kMakerKey);
    if (!hadSettingsRoot_) ::RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsRoot);
  }
  ProgramKeyLoan(const ProgramKeyLoan&) = delete;
  ProgramKeyLoan& operator=(const ProgramKeyLoan&) = delete;
  bool ready() const { return ready_; }

 private:
  static void PutBack() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    if (CopyKey(kSetAsideKey, kProgramKey)) ::RegDeleteTreeA(HKEY_CURRENT_USER, kSetAsideKey);
  }

  bool hadSettingsRoot_ = false;
  bool hadMakerKey_ = false;
  bool ready_ = false;
};

int CloseMode(int rounds) {
  constexpr double kReceivePauseMs = 200;
  constexpr double kBeyondPauseGoalMs = 150;
  const ProgramKeyLoan loan;
  if (!loan.ready()) {
    std::fprintf(stderr, "could not set the program's registry key aside; nothing was run\n");
    return 1;
  }
  // The yardstick ends with the count of imports it missed.
  Series program{
      "Vekhor.exe /close", L"\"" VEKHOR_EXE_PATH L"\" /close", {kClockSet, kClockRefused}};
  Series minimal{"minimal program", L"\"" VEKHOR_MINIMAL_CLOSE_PATH L"\"", {0}};
  InTurns(program, minimal, Until::Exit, rounds);
  std::printf(
      "/close under Wine against the bundled server: %d interleaved rounds after %d "
      "warm-up rounds\n",
      rounds, kWarmUpRounds);
  Print(program, Until::Exit);
  Print(minimal, Until::Exit);
  const auto set = std::count(program.statuses.begin(), program.statuses.end(), kClockSet);
  std::printf("Vekhor.exe /close: clock set %td, change refused by Wine %td, no time %d\n", set,
              std::ssize(program.statuses) - set, program.failed);
  if (program.times.empty() || minimal.times.empty()) return 1;
  const double difference = Median(program.times) - Median(minimal.times);
  std::printf("difference of the medians: %.1f ms = %.0f ms pause + %.1f ms (goal at most %.0f)\n",
              difference, kReceivePauseMs, difference - kReceivePauseMs, kBeyondPauseGoalMs);
  // Slowness is reported, never failed on; only a bench that could not measure is.
  return program.failed == 0 && minimal.failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool window = argc > 1 && std::strcmp(argv[1], "window") == 0;
  const bool close = argc > 1 && std::strcmp(argv[1], "close") == 0;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : window ? 15 : 31;
  if (!(window || close) || rounds < 1) {
    std::fprintf(stderr, "usage: start_bench window|close [rounds]\n");
    return 2;
  }
  if (window) return WindowStart(rounds);
  return vekhor::bench::UnderBundledServer(argv[0]) ? CloseMode(rounds) : 2;
}
