// A running Vekhor.exe as a user meets it: a run from the window against the bundled server,
// the close box, the tray menu's Exit, a second start, and an Exit in the middle of a walk.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "app/layout.h"
#include "support/program_window.h"

namespace vekhor::testing {
namespace {

using app::ControlId;

constexpr const char* kProgramKey = "Software\\VB and VBA Program Settings\\Vektal";
constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";

void Set(const char* key, const char* name, const std::string& value) {
  ::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

std::optional<std::string> Setting(const char* name) {
  char data[256] = {};
  DWORD size = sizeof(data);
  if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data);
}

std::string LogPath() {
  const std::string path = VEKHOR_EXE_PATH;
  return path.substr(0, path.find_last_of("/\\") + 1) + "Log.wri";
}

std::string ReadLog() {
  std::ifstream in(LogPath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The servers given, all checked, in this order; logging on; not a first start.
void StoreServers(std::initializer_list<const char*> servers) {
  int number = 0;
  for (const char* server : servers) {
    ++number;
    Set(kServersKey, ("Server" + std::to_string(number)).c_str(), server);
    Set(kServersKey, ("ServerChecked" + std::to_string(number)).c_str(), "-1");
  }
}

struct ProgramLife : ::testing::Test {
  void SetUp() override { Forget(); }
  void TearDown() override { Forget(); }
  void Forget() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    std::remove(LogPath().c_str());
  }
};

bool TrayIconPresent(HWND host) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = host;
  data.uID = 1;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
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
  Set(kSettingsKey, "SysTray", "1");  // what the first one's box does not say
  ProgramWindow second("", ProgramWindow::Start::Hidden);
  EXPECT_EQ(::WaitForSingleObject(second.Process(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(Setting("SysTray"), "1");
  EXPECT_TRUE(::IsWindowVisible(first.Window()));
}

// The bundled server answers on port 37 (see CMakeLists.txt); 127.0.0.3 has no listener.
TEST_F(ProgramLife, ARunFromTheWindowPassesADeadServerAndSetsTheClock) {
  const char* behaviour = std::getenv("VEKHOR_EXPECT_CLOCK_SET");
  if (behaviour == nullptr) GTEST_SKIP() << "needs the bundled server";
  Set(kSettingsKey, "SysTray", "0");
  Set(kSettingsKey, "Log", "1");
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
  Set(kSettingsKey, "SysTray", "0");
  Set(kSettingsKey, "Log", "1");
  for (int n = 1; n <= 400; ++n) {
    Set(kServersKey, ("Server" + std::to_string(n)).c_str(),
        "127.0.1." + std::to_string(n % 250 + 2));
    Set(kServersKey, ("ServerChecked" + std::to_string(n)).c_str(), "-1");
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
