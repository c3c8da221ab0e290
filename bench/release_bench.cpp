// The sizes of what a user downloads (goal: Vekhor.exe at most 1.5 MB) and how long a silent
// install and a silent uninstall take under Wine, as medians over a few rounds. Run it through
// the `bench_release` target, which makes the packages first. It installs into the prefix's
// own %LOCALAPPDATA%\Programs and leaves nothing installed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "timing.h"

namespace {

namespace fs = std::filesystem;

bool RunToEnd(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  DWORD status = 1;
  ::WaitForSingleObject(process.hProcess, INFINITE);
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return status == 0;
}

std::string Quoted(const fs::path& path) {
  std::string quoted(1, '"');
  quoted += path.string();
  quoted += '"';
  return quoted;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s ZIP INSTALLER [rounds]\n", argv[0]);
    return 2;
  }
  const fs::path zip = argv[1];
  const fs::path installer = argv[2];
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
  const fs::path folder = fs::path(std::getenv("LOCALAPPDATA")) / "Programs" / "Vektal Horolan";

  std::vector<double> installs;
  std::vector<double> uninstalls;
  std::uintmax_t programSize = 0;
  for (int round = 0; round < rounds; ++round) {
    bool ok = true;
    installs.push_back(
        vekhor::bench::MillisecondsOf([&] { ok = RunToEnd(Quoted(installer) + " /S"); }));
    if (!ok) {
      std::fprintf(stderr, "the silent install failed\n");
      return 1;
    }
    programSize = fs::file_size(folder / "Vekhor.exe");
    // _?= keeps the uninstaller in place, so that its end is the uninstall's end.
    uninstalls.push_back(vekhor::bench::MillisecondsOf(
        [&] { ok = RunToEnd(Quoted(folder / "Uninstall.exe") + " /S _?=" + folder.string()); }));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (!ok) {
      std::fprintf(stderr, "the silent uninstall failed\n");
      return 1;
    }
  }
  const double megabyte = 1024.0 * 1024.0;
  std::printf("Vekhor.exe      %8.3f MB (goal: at most 1.5 MB) %s\n", programSize / megabyte,
              programSize <= 1.5 * megabyte ? "PASS" : "FAIL");
  std::printf("zip             %8.3f MB\n", fs::file_size(zip) / megabyte);
  std::printf("installer       %8.3f MB\n", fs::file_size(installer) / megabyte);
  std::printf("silent install   %8.1f ms median of %d\n", vekhor::bench::Median(installs), rounds);
  std::printf("silent uninstall %8.1f ms median of %d\n", vekhor::bench::Median(uninstalls),
              rounds);
  return 0;
}
