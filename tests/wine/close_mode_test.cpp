// `Vekhor.exe /close` for scheduled tasks: one run with no window, a trace in the log, and an
// exit status that says whether the clock was set. Runs beside the bundled server on port 37.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/program_state.h"

namespace vekhor::testing {
namespace {

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

struct CloseMode : ::testing::Test {
  void SetUp() override {
    if (std::getenv("VEKHOR_TIME_PORT") == nullptr) GTEST_SKIP() << "needs the bundled server";
    ForgetProgram();
    SetValue(kSettingsKey, "SysTray", "0");
    SetValue(kSettingsKey, "Log", "1");
  }
  void TearDown() override { ForgetProgram(); }
};

TEST_F(CloseMode, SetsTheClockFromTheBundledServerAndLeavesATrace) {
  // No listener there: it answers the echo (all of 127/8 does) but gives no time, which the
  // walk passes over without a log line.
  SetValue(kServersKey, "Server1", "127.0.0.3");
  SetValue(kServersKey, "ServerChecked1", "-1");
  SetValue(kServersKey, "Server2", "127.0.0.1");
  SetValue(kServersKey, "ServerChecked2", "-1");
  EXPECT_EQ(RunToEnd("/close"), 0u);
  const std::string log = ReadLog();
  EXPECT_NE(log.find("Connected to 127.0.0.1"), std::string::npos) << log;
  EXPECT_NE(log.find("Clock adjusted from "), std::string::npos) << log;
  EXPECT_NE(log.find("Application closed"), std::string::npos) << log;
  EXPECT_EQ(log.find("Application started"), std::string::npos) << "no window was shown";
}

TEST_F(CloseMode, ADeadListEndsWithStatusOneAndSaysSo) {
  SetValue(kServersKey, "Server1", "127.0.0.3");
  SetValue(kServersKey, "ServerChecked1", "-1");
  EXPECT_EQ(RunToEnd("/CLOSE"), 1u);
  const std::string log = ReadLog();
  EXPECT_NE(log.find("No time server gave the time."), std::string::npos) << log;
  EXPECT_EQ(log.find("Clock adjusted"), std::string::npos) << log;
}

}  // namespace
}  // namespace vekhor::testing
