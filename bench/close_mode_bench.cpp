// How long `Vekhor.exe /close` takes under Wine from the moment its process is created until it
// has ended, against the bundled server on loopback port 37, beside a program that loads the
// same libraries with the same manifest and ends at once (minimal_close.cpp). The two start in
// turns within one run, the order swapped every round, so that a busy machine or a cold cache
// weighs on both alike. The run fetches one answer, whose read the program's design delays by
// 200 ms; the goal is at most 150 ms more beyond that. Run it through the `bench_close_mode`
// target, which starts the bundled server; the bench is itself a client of the wineserver, which
// therefore stays up between the starts and is not part of what they cost.
//
// The server answers at once with the current whole second (`--behaviour now`). Wine takes a
// clock change only within half a second of its own clock, so many runs end with status 2
// instead of 0, after the same work; both count. With `--behaviour time` the server would hold
// each answer until the next second begins, up to 0.9 s that are the server's, not the program's.
//
// The program reads its list from the prefix's registry: for the length of the bench it finds
// the bundled server as the first and only checked entry and "SysTray" stored (not a first
// start, which would add the default servers). What the key held before is set aside under a
// key of the bench's own and put back at the end, also at the next start after an interrupted
// run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "timing.h"

namespace {

constexpr int kWarmUpRounds = 2;
constexpr int kDefaultRounds = 31;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr double kReceivePauseMs = 200;
constexpr double kBeyondPauseGoalMs = 150;

constexpr const char* kSettingsRoot = "Software\\VB and VBA Program Settings";
constexpr const char* kMakerKey = "Software\\VB and VBA Program Settings\\Vektal";
constexpr const char* kProgramKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";
constexpr const char* kSetAsideKey = "Software\\VekhorBench-CloseMode-SetAside";

// Exit statuses of close mode.
constexpr DWORD kClockSet = 0;
constexpr DWORD kClockRefused = 2;

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

// The user's settings and list, set aside while the bench owns the key, and the parent keys the
// bench created, which it removes again.
class ProgramKeyLoan {
 public:
  ProgramKeyLoan() {
    // A set-aside key at the start is what an interrupted bench left: its content is the
    // user's, and the key the program's own until the bench began.
    if (KeyExists(kSetAsideKey)) PutBack();
    hadSettingsRoot_ = KeyExists(kSettingsRoot);
    hadMakerKey_ = KeyExists(kMakerKey);
    if (KeyExists(kProgramKey)) {
      if (!CopyKey(kProgramKey, kSetAsideKey)) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSetAsideKey);
        return;  // nothing touched: the bench must not run over the user's list
      }
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

struct Start {
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
  double milliseconds = 0;  // from just before CreateProcess until the process has ended
};

Start RunToEnd(std::wstring commandLine) {
  Start start;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  bool created = false;
  start.milliseconds = vekhor::bench::MillisecondsOf([&] {
    created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process) != FALSE;
    if (created) start.ended = ::WaitForSingleObject(process.hProcess, kRunTimeoutMs) == 0;
  });
  if (!created) return start;
  if (start.ended) {
    ::GetExitCodeProcess(process.hProcess, &start.exitCode);
  } else {
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, kRunTimeoutMs);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return start;
}

struct Series {
  const char* name;
  std::wstring commandLine;
  std::vector<double> milliseconds;
  std::vector<DWORD> exitCodes;
  int setClock = 0;
  int refusedClock = 0;
  int failed = 0;

  // The program counts when its run fetched a time, whether Wine then took the change or not:
  // both end after the same work. The yardstick counts when it ended with its imports whole.
  void Record(const Start& start, bool isProgram) {
    const bool fetched = start.exitCode == kClockSet || start.exitCode == kClockRefused;
    if (!start.ended || (isProgram ? !fetched : start.exitCode != 0)) {
      ++failed;
      return;
    }
    if (isProgram) ++(start.exitCode == kClockSet ? setClock : refusedClock);
    milliseconds.push_back(start.milliseconds);
    exitCodes.push_back(start.exitCode);
  }
};

void Print(const Series& series) {
  if (series.milliseconds.empty()) {
    std::printf("%-22s no start ran to its end\n", series.name);
    return;
  }
  const auto [least, most] =
      std::minmax_element(series.milliseconds.begin(), series.milliseconds.end());
  std::printf("%-22s start to exit: median %.1f ms, min %.1f ms, max %.1f ms (%zu starts)\n",
              series.name, vekhor::bench::Median(series.milliseconds), *least, *most,
              series.milliseconds.size());
  // In start order, with the exit status, so that a second mode shows whether it goes with a
  // clock change that Wine refused.
  std::printf("%-22s each start, ms (exit status):", series.name);
  for (std::size_t index = 0; index < series.milliseconds.size(); ++index) {
    std::printf(" %.0f (%lu)", series.milliseconds[index], series.exitCodes[index]);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const char* port = std::getenv("VEKHOR_TIME_PORT");
  if (port == nullptr || std::strcmp(port, "37") != 0) {
    std::fprintf(stderr, "run under vekhor-timeserver --behaviour now --port 37 -- wine %s\n",
                 argv[0]);
    return 2;
  }
  const int rounds = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
  if (rounds < 1) {
    std::fprintf(stderr, "usage: close_mode_bench [rounds]\n");
    return 2;
  }
  const ProgramKeyLoan loan;
  if (!loan.ready()) {
    std::fprintf(stderr, "could not set the program's registry key aside; nothing was run\n");
    return 1;
  }

  Series program{"Vekhor.exe /close", L"\"" VEKHOR_EXE_PATH L"\" /close", {}, {}, 0, 0, 0};
  Series minimal{"minimal program", L"\"" VEKHOR_MINIMAL_CLOSE_PATH L"\"", {}, {}, 0, 0, 0};
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    std::pair<Series*, Series*> order{&program, &minimal};
    if (round % 2 != 0) std::swap(order.first, order.second);
    for (Series* series : {order.first, order.second}) {
      const Start start = RunToEnd(series->commandLine);
      if (round >= 0) series->Record(start, series == &program);
    }
  }

  std::printf(
      "/close under Wine against the bundled server: %d interleaved rounds after %d "
      "warm-up rounds\n",
      rounds, kWarmUpRounds);
  Print(program);
  Print(minimal);
  std::printf("Vekhor.exe /close: clock set %d, change refused by Wine %d, no time %d\n",
              program.setClock, program.refusedClock, program.failed);
  if (minimal.failed != 0) std::printf("minimal program: %d start(s) failed\n", minimal.failed);
  if (program.milliseconds.empty() || minimal.milliseconds.empty()) return 1;
  const double difference =
      vekhor::bench::Median(program.milliseconds) - vekhor::bench::Median(minimal.milliseconds);
  std::printf("difference of the medians: %.1f ms = %.0f ms pause + %.1f ms (goal at most %.0f)\n",
              difference, kReceivePauseMs, difference - kReceivePauseMs, kBeyondPauseGoalMs);
  // Slowness is reported, never failed on; only a bench that could not measure is.
  return program.failed == 0 && minimal.failed == 0 ? 0 : 1;
}
