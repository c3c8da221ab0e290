// A running Vekhor.exe as a user meets it: a run from the window against the bundled server,
// the close box, the tray menu's Exit, a second start, and an Exit in the middle of a walk.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/layout.h"
#include "support/program_state.h"
#include "support/program_window.h"

namespace vekhor::testing {
namespace {

using app::ControlId;

// The servers given, all checked, in this order; logging on; not a first start.
void StoreServers(std::initializer_list<const char*> servers) {
  int number = 0;
  for (const char* server : servers) {
    ++number;
    SetValue(kServersKey, ("Server" + std::to_string(number)).c_str(), server);
    SetValue(kServersKey, ("ServerChecked" + std::to_string(number)).c_str(), "-1");
  }
}

struct ProgramLife : ::testing::Test {
  void SetUp() override { ForgetProgram(); }
  void TearDown() override { ForgetProgram(); }
};

std::optional<std::string> Setting(const char* name) {
  return ReadValue(HKEY_CURRENT_USER, kSettingsKey, name);
}

TEST_F(ProgramLife, TheCloseBoxHidesBehindAnIconWhoseMenuExitEndsTheProgram) {
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  ::PostMessageW(program.Window(), WM_CLOSE, 0, 0);
  for (int i = 0; i < 100 && ::IsWindowVisible(program.Window()); ++i) ::Sleep(50);
  EXPECT_FALSE(::IsWindowVisible(program.Window()));
  EXPECT_EQ(::WaitForSingleObject(program.Process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  const HWND host = program.Control(ControlId::TrayIcon);
  ASSERT_TRUE(TrayIconPresent(host)) << "a hidden program must keep a way back";
  ::PostMessageW(host, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
  const HWND menu = program.WaitForWindowOfClass(L"#32768");
  ASSERT_NE(menu, nullptr);
  ::PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);  // from no entry up to the last one: Exit
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_EQ(::WaitForSingleObject(program.Process(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD status = 1;
  ::GetExitCodeProcess(program.Process(), &status);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(Setting("SysTray"), "0");  // the orderly unload stored it
}

TEST_F(ProgramLife, ASecondStartEndsAtOnceAndStoresNothing) {
  ProgramWindow first;
  ASSERT_TRUE(first.Found());
  SetValue(kSettingsKey, "SysTray", "1");  // what the first one's box does not say
  ProgramWindow second("", ProgramWindow::Start::Hidden);
  EXPECT_EQ(::WaitForSingleObject(second.Process(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(Setting("SysTray"), "1");
  EXPECT_TRUE(::IsWindowVisible(first.Window()));
}

// The bundled server answers on port 37 (see CMakeLists.txt); 127.0.0.3 has no listener.
TEST_F(ProgramLife, ARunFromTheWindowPassesADeadServerAndSetsTheClock) {
  const char* behaviour = std::getenv("VEKHOR_EXPECT_CLOCK_SET");
  if (behaviour == nullptr) GTEST_SKIP() << "needs the bundled server";
  SetValue(kSettingsKey, "SysTray", "0");
  SetValue(kSettingsKey, "Log", "1");
  StoreServers({"127.0.0.3", "127.0.0.1"});
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  ::SendMessageW(program.Control(ControlId::cmdSync), BM_CLICK, 0, 0);  // returns after the run
  const std::string status = program.Text(ControlId::lblStatus);
  const std::string log = ReadLog();
  if (std::string(behaviour) == "yes") {
    EXPECT_EQ(status.rfind("Clock synchronised succesfully ", 0), 0u) << status;
    EXPECT_NE(log.find("Connected to 127.0.0.1"), std::string::npos) << log;
    EXPECT_NE(log.find("Clock adjusted from "), std::string::npos) << log;
  } else {
    EXPECT_EQ(status, "No time server gave the time.");
    EXPECT_NE(log.find("No time server gave the time."), std::string::npos) << log;
    EXPECT_EQ(log.find("Clock adjusted"), std::string::npos) << log;
  }
  EXPECT_TRUE(::IsWindowEnabled(program.Control(ControlId::cmdSync)));
}

// Exit pressed while a walk waits in DoEvents: the run must end before the list it walks is
// released, and the program must end in order.
TEST_F(ProgramLife, ExitInTheMiddleOfAWalkEndsTheProgramInOrder) {
  SetValue(kSettingsKey, "SysTray", "0");
  SetValue(kSettingsKey, "Log", "1");
  for (int n = 1; n <= 400; ++n) {
    SetValue(kServersKey, ("Server" + std::to_string(n)).c_str(),
             "127.0.1." + std::to_string(n % 250 + 2));
    SetValue(kServersKey, ("ServerChecked" + std::to_string(n)).c_str(), "-1");
  }
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  ::PostMessageW(program.Control(ControlId::cmdSync), BM_CLICK, 0, 0);
  ::Sleep(400);
  EXPECT_EQ(program.Close(), 0u) << "the program ended badly";
  const std::string log = ReadLog();
  EXPECT_NE(log.find("Application closed"), std::string::npos) << log;
  EXPECT_EQ(log.find("No time server gave the time."), std::string::npos)
      << "the walk had ended before Exit: make the list longer";
}

}  // namespace
}  // namespace vekhor::testing
