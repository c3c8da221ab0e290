// Vekhor.exe and its packages started under Wine by this console program, which as a client of
// the wineserver keeps it up between the starts, each timed from just before CreateProcess. Its
// modes `window`, `close` and `release`, their targets and goals: README.md, "Benchmarks".
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "timing.h"

namespace {

namespace fs = std::filesystem;
using vekhor::bench::Median;

constexpr DWORD kTimeoutMs = 30000;

enum class Until { FirstIdle, Exit };

// A program's starts; those that went idle still running, or ended with an accepted status, count.
struct Series {
  const char* name;
  std::wstring commandLine;
  std::vector<DWORD> accepted{0};
  std::vector<double> times{}, memoryKiB{};
  int failed = 0;
};

// The program's own window: shown, top-level and unowned, which leaves out tooltips and helpers.
HWND ShownWindowOf(DWORD processId) {
  for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && ::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER)) {
      return window;
    }
  }
  return nullptr;
}

// As its close box does, once the window is shown: Vekhor.exe hides in the notification area on
// a close and ends on the second, which comes while it is hidden; the yardstick ends on the first.
bool CloseByWindow(const PROCESS_INFORMATION& process) {
  for (DWORD waited = 0; waited < kTimeoutMs; waited += 20) {
    if (HWND window = ShownWindowOf(process.dwProcessId)) {
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      return ::WaitForSingleObject(process.hProcess, kTimeoutMs) == WAIT_OBJECT_0;
    }
    ::Sleep(20);
  }
  return false;
}

// One start, recorded unless `warmUp`. The process has ended when this returns, so that the next
// start finds the screen as before. A start that was not created keeps `waited` at WAIT_FAILED.
void Start(Series& series, Until until, bool warmUp) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  DWORD waited = WAIT_FAILED;
  const double milliseconds = vekhor::bench::MillisecondsOf([&] {
    if (!::CreateProcessW(nullptr, series.commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
      return;
    }
    waited = until == Until::FirstIdle ? ::WaitForInputIdle(process.hProcess, kTimeoutMs)
                                       : ::WaitForSingleObject(process.hProcess, kTimeoutMs);
  });
  // WaitForInputIdle also returns 0 when the process has ended: that start reached no idle pass.
  const bool running = ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
  const bool idle = until == Until::FirstIdle && waited == 0 && running;
  PROCESS_MEMORY_COUNTERS memory{};
  if (idle) ::GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory));
  // Ended in order, Vekhor.exe stores that the next start is not a first one.
  if (running && !(idle && CloseByWindow(process))) {
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, kTimeoutMs);
  }
  DWORD status = STILL_ACTIVE;
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (warmUp) return;
  if (until == Until::FirstIdle
          ? !idle
          : waited != 0 || std::ranges::find(series.accepted, status) == series.accepted.end()) {
    ++series.failed;
    return;
  }
  series.times.push_back(milliseconds);
  if (idle) series.memoryKiB.push_back(static_cast<double>(memory.WorkingSetSize) / 1024);
}

void Print(const Series& series) {
  std::printf("%-18s median %.1f ms of %zu", series.name, Median(series.times),
              series.times.size());
  if (!series.memoryKiB.empty()) {
    std::printf(", idle working set %.0f KiB", Median(series.memoryKiB));
  }
  std::printf("\n");
}

// Both programs in turns after two warm-up rounds, the order swapped every round.
bool InTurns(Series& first, Series& second, Until until, int rounds) {
  for (int round = -2; round < rounds; ++round) {
    Start(round % 2 == 0 ? first : second, until, round < 0);
    Start(round % 2 == 0 ? second : first, until, round < 0);
  }
  Print(first);
  Print(second);
  return first.failed + second.failed == 0;
}

int WindowStart(int rounds) {
  Series program{"Vekhor.exe", L"\"" VEKHOR_EXE_PATH L"\""};
  Series minimal{"minimal window", L"\"" VEKHOR_MINIMAL_WINDOW_PATH L"\""};
  const bool measured = InTurns(program, minimal, Until::FirstIdle, rounds);
  // Slowness is reported, never failed on; only a start that could not be measured is.
  std::printf("ratio Vekhor.exe / minimal window: %.2f (goal at most 1.5)\n",
              Median(program.times) / Median(minimal.times));
  return measured ? 0 : 1;
}

constexpr auto kProgramKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
constexpr auto kServersKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";
constexpr auto kSetAsideKey = "Software\\VekhorBench-CloseMode-SetAside";

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

bool CopyKey(const char* from, const char* to) {
  HKEY target = nullptr;
  if (::RegCreateKeyA(HKEY_CURRENT_USER, to, &target) != ERROR_SUCCESS) return false;
  const bool copied = ::RegCopyTreeA(HKEY_CURRENT_USER, from, target) == ERROR_SUCCESS;
  ::RegCloseKey(target);
  return copied;
}

void SetValue(const char* key, const char* name, const char* value) {
  ::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value,
                    static_cast<DWORD>(std::strlen(value) + 1));
}

// The program's key back as it was: the set-aside copy, if any, in its place.
void PutBack() {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
  if (KeyExists(kSetAsideKey) && CopyKey(kSetAsideKey, kProgramKey)) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kSetAsideKey);
  }
}

// What the program's key holds goes to a key of the bench's own until PutBack. A set-aside key
// found here is what an interrupted run left: its content is the user's, and goes back first.
bool SetAside() {
  if (KeyExists(kSetAsideKey)) PutBack();
  if (KeyExists(kSetAsideKey)) return false;
  if (!KeyExists(kProgramKey) || CopyKey(kProgramKey, kSetAsideKey)) return true;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kSetAsideKey);  // a partial copy; the original is untouched
  return false;
}

int CloseMode(int rounds) {
  if (!SetAside()) {
    std::fprintf(stderr, "could not set the program's registry key aside; nothing was run\n");
    return 1;
  }
  // The bundled server as the first and only checked entry, and "SysTray" stored: not a first
  // start, which would add the default servers.
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
  SetValue(kProgramKey, "SysTray", "0");
  SetValue(kServersKey, "Server1", "127.0.0.1");
  SetValue(kServersKey, "ServerChecked1", "-1");
  // Wine refuses clock changes over half a second: many runs end with 2 after the same work.
  Series program{"Vekhor.exe /close", L"\"" VEKHOR_EXE_PATH L"\" /close", {0, 2}};
  Series minimal{"minimal program", L"\"" VEKHOR_MINIMAL_CLOSE_PATH L"\""};
  const bool measured = InTurns(program, minimal, Until::Exit, rounds);
  PutBack();
  const double difference = Median(program.times) - Median(minimal.times);
  std::printf("difference of the medians: %.1f ms = 200 ms pause + %.1f ms (goal at most 150)\n",
              difference, difference - 200);
  return measured ? 0 : 1;
}

int Release(const fs::path& zip, const fs::path& installer, int rounds) {
  const fs::path folder = fs::path(std::getenv("LOCALAPPDATA")) / "Programs" / "Vektal Horolan";
  Series install{"silent install", L"\"" + installer.wstring() + L"\" /S"};
  // _?= keeps the uninstaller in place, so that its end is the uninstall's end.
  Series uninstall{"silent uninstall",
                   L"\"" + (folder / "Uninstall.exe").wstring() + L"\" /S _?=" + folder.wstring()};
  std::uintmax_t programSize = 0;
  std::error_code failed;
  for (int round = 0; round < rounds; ++round) {
    Start(install, Until::Exit, false);
    programSize = fs::file_size(folder / "Vekhor.exe", failed);
    Start(uninstall, Until::Exit, false);
    // Wine may hold the folder for a moment after the uninstaller has ended.
    for (int tries = 0; tries < 50 && fs::exists(folder); ++tries) {
      fs::remove_all(folder, failed);
      ::Sleep(20);
    }
  }
  const double megabyte = 1024.0 * 1024.0;
  std::printf("Vekhor.exe %.3f MB (goal: at most 1.5 MB), zip %.3f MB, installer %.3f MB\n",
              programSize / megabyte, fs::file_size(zip, failed) / megabyte,
              fs::file_size(installer, failed) / megabyte);
  Print(install);
  Print(uninstall);
  return install.failed + uninstall.failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto rounds = [&](int index, int otherwise) {
    return argc > index ? std::atoi(argv[index]) : otherwise;
  };
  if (mode == "window") return WindowStart(rounds(2, 15));
  if (mode == "close" && !vekhor::bench::UnderBundledServer(argv[0])) return 2;
  if (mode == "close") return CloseMode(rounds(2, 31));
  if (mode == "release" && argc > 3) return Release(argv[2], argv[3], rounds(4, 5));
  std::fprintf(stderr, "usage: start_bench window|close [rounds] | release ZIP INSTALLER [n]\n");
  return 2;
}
