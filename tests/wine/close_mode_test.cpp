// `Vekhor.exe /close` for scheduled tasks: one run with no window, a trace in the log, and an
// exit status that says whether the clock was set. Runs beside the bundled server on port 37.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace vekhor::testing {
namespace {

constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";

void Set(const char* key, const char* name, const char* value) {
  ::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value,
                    static_cast<DWORD>(std::strlen(value) + 1));
}

// The program's folder holds its log.
std::string LogPath() {
  std::string path = VEKHOR_EXE_PATH;
  return path.substr(0, path.find_last_of("/\\") + 1) + "Log.wri";
}

// Runs the program with `arguments` to its end; its exit status, or STILL_ACTIVE.
DWORD RunToEnd(const std::string& arguments) {
  std::string commandLine = "\"" VEKHOR_EXE_PATH "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return STILL_ACTIVE;
  DWORD status = STILL_ACTIVE;
  if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process.hProcess, &status);
  else
    ::TerminateProcess(process.hProcess, 99);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return status;
}

std::string ReadLog() {
  std::ifstream in(LogPath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct CloseMode : ::testing::Test {
  void SetUp() override {
    if (std::getenv("VEKHOR_TIME_PORT") == nullptr) GTEST_SKIP() << "needs the bundled server";
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Vektal");
    std::remove(LogPath().c_str());
    Set(kSettingsKey, "SysTray", "0");
    Set(kSettingsKey, "Log", "1");
  }
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Vektal");
    std::remove(LogPath().c_str());
  }
};

TEST_F(CloseMode, SetsTheClockFromTheBundledServerAndLeavesATrace) {
  // No listener there: it answers the echo (all of 127/8 does) but gives no time, which the
  // walk passes over without a log line.
  Set(kServersKey, "Server1", "127.0.0.3");
  Set(kServersKey, "ServerChecked1", "-1");
  Set(kServersKey, "Server2", "127.0.0.1");
  Set(kServersKey, "ServerChecked2", "-1");
  EXPECT_EQ(RunToEnd("/close"), 0u);
  const std::string log = ReadLog();
  EXPECT_NE(log.find("Connected to 127.0.0.1"), std::string::npos) << log;
  EXPECT_NE(log.find("Clock adjusted from "), std::string::npos) << log;
  EXPECT_NE(log.find("Application closed"), std::string::npos) << log;
  EXPECT_EQ(log.find("Application started"), std::string::npos) << "no window was shown";
}

TEST_F(CloseMode, ADeadListEndsWithStatusOneAndSaysSo) {
  Set(kServersKey, "Server1", "127.0.0.3");
  Set(kServersKey, "ServerChecked1", "-1");
  EXPECT_EQ(RunToEnd("/CLOSE"), 1u);
  const std::string log = ReadLog();
  EXPECT_NE(log.find("No time server gave the time."), std::string::npos) << log;
  EXPECT_EQ(log.find("Clock adjusted"), std::string::npos) << log;
}

}  // namespace
}  // namespace vekhor::testing
