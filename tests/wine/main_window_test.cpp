// The real Vekhor.exe under Wine, driven from outside as a user's tools would: the window's
// size at the screen's DPI, the pages, the clock, the about link reaching the shell, screenshots
// of every page, and no growth of window-system objects over a long session.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/layout.h"
#include "support/program_window.h"

namespace vekhor::testing {
namespace {

using app::ControlId;

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

const std::vector<std::vector<ControlId>> kPages = {
    {ControlId::cmdSync, ControlId::lblStatus},
    {ControlId::chkSync, ControlId::chkInternetConnection, ControlId::chkSysTray, ControlId::chkLog,
     ControlId::chkAutostart, ControlId::cmdLog},
    {ControlId::txtServer, ControlId::cmdAdd, ControlId::cmdRemove, ControlId::lstServer},
    {ControlId::picLogo, ControlId::lblAbout},
};
const ControlId kFocusOfPage[] = {ControlId::cmdSync, ControlId::chkSync, ControlId::txtServer,
                                  ControlId::cmdExit};

struct MainWindow : ::testing::Test {
  ProgramWindow program;
  void SetUp() override { ASSERT_TRUE(program.Found()) << "no window from " VEKHOR_EXE_PATH; }
};

// 4710 x 3345 twips: 314 x 223 pixels at 96 DPI, 471 x 334 at 144.
TEST_F(MainWindow, ClientAreaIsFixedInTwipsAtTheScreensDpi) {
  const int dpi = ScreenDpi();
  const std::string expected = Environment("VEKHOR_EXPECTED_DPI");
  if (!expected.empty()) {
    EXPECT_EQ(dpi, std::stoi(expected));
  }
  const SIZE client = program.ClientSize();
  EXPECT_EQ(client.cx, 4710 * dpi / 1440);
  EXPECT_EQ(client.cy, 3345 * dpi / 1440);
  const LONG style = ::GetWindowLongW(program.Window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

  // Moved to a monitor of another DPI, the window and its controls take that monitor's size.
  // (The system's suggested rectangle cannot travel between processes: the window keeps its
  // place without one.)
  const int moved = dpi == 144 ? 96 : 144;
  ::SendMessageW(program.Window(), WM_DPICHANGED, MAKEWPARAM(moved, moved), 0);
  const SIZE after = program.ClientSize();
  EXPECT_EQ(after.cx, 4710 * moved / 1440);
  EXPECT_EQ(after.cy, 3345 * moved / 1440);
  RECT exit{};
  ::GetWindowRect(program.Control(ControlId::cmdExit), &exit);
  EXPECT_EQ(exit.right - exit.left, 3615 * moved / 1440);
}

TEST_F(MainWindow, EachPageButtonShowsItsPageAloneAndFocusesItsControl) {
  for (int page : {2, 1, 3, 0}) {
    program.ClickPage(page);
    for (std::size_t other = 0; other < kPages.size(); ++other) {
      for (ControlId id : kPages[other]) {
        EXPECT_EQ(program.Shown(id), static_cast<int>(other) == page)
            << "page " << page << ", control " << app::LayoutOf(id).name;
      }
    }
    for (ControlId always : {ControlId::lblTime, ControlId::cmdExit, ControlId::lblURL})
      EXPECT_TRUE(program.Shown(always)) << "page " << page;
    EXPECT_EQ(program.Focused(), program.Control(kFocusOfPage[page])) << "page " << page;
  }
}

TEST_F(MainWindow, TheClockLabelFollowsTheTime) {
  const std::string first = program.Text(ControlId::lblTime);
  EXPECT_FALSE(first.empty());
  std::string later = first;
  for (int i = 0; i < 30 && later == first; ++i) {
    ::Sleep(100);
    later = program.Text(ControlId::lblTime);
  }
  EXPECT_NE(later, first);
  EXPECT_EQ(program.Close(), 0u) << "Exit ends the program with status 0";
}

// For the length of a test, the shell opens web addresses with the test's probe.
class BrowserOverride {
 public:
  explicit BrowserOverride(const std::string& command) {
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &key_, nullptr) != ERROR_SUCCESS)
      return;
    char old[1024] = {};
    DWORD size = sizeof(old);
    if (::RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS)
      old_ = old;
    Set(command);
  }
  ~BrowserOverride() {
    if (key_ == nullptr) return;
    Set(old_);
    ::RegCloseKey(key_);
  }
  BrowserOverride(const BrowserOverride&) = delete;
  BrowserOverride& operator=(const BrowserOverride&) = delete;

 private:
  static constexpr const char* kKey = "Software\\Classes\\https\\shell\\open\\command";
  void Set(const std::string& command) {
    ::RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
  }
  HKEY key_ = nullptr;
  std::string old_;
};

// The path of a file of this machine as Windows programs under Wine see it.
std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath) c = c == '/' ? '\\' : c;
  return "Z:" + unixPath;
}

TEST(MainWindowLink, OnlyTheLeftButtonOpensTheAddressThroughTheShell) {
  const std::string record = Environment("TEMP") + "\\vekhor-shell-probe.txt";
  ::SetEnvironmentVariableA("VEKHOR_SHELL_PROBE_RECORD", record.c_str());
  std::remove(record.c_str());
  BrowserOverride browser("\"" + WindowsPath(VEKHOR_SHELL_PROBE_PATH) + "\" \"%1\"");
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  const HWND link = program.Control(ControlId::lblURL);
  ::SendMessageW(link, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(link, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  std::vector<std::string> opened;
  for (int i = 0; i < 100 && opened.empty(); ++i) {
    ::Sleep(100);
    std::ifstream in(record);
    for (std::string line; std::getline(in, line);) opened.push_back(line);
  }
  ::Sleep(500);  // a second, wrong opening would have arrived by now
  std::ifstream in(record);
  opened.clear();
  for (std::string line; std::getline(in, line);) opened.push_back(line);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find(std::string(app::kMakerAddress)), std::string::npos) << opened[0];
}

// Each page in the language of LANG, saved under the build folder for a person to look at.
TEST_F(MainWindow, ScreenshotsOfEveryPage) {
  const std::string folder = Environment("VEKHOR_SCREENSHOT_FOLDER");
  if (folder.empty()) GTEST_SKIP() << "no VEKHOR_SCREENSHOT_FOLDER";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const char* names[] = {"synchronize", "settings", "servers", "about"};
  for (int page = 0; page < 4; ++page) {
    program.ClickPage(page);
    ::Sleep(300);
    const std::string path =
        folder + "/" + Environment("VEKHOR_SCREENSHOT_PREFIX") + names[page] + ".bmp";
    EXPECT_TRUE(program.SaveScreenshot(path)) << path;
  }
}

// Ticks, page switches and hovers reuse their fonts, brushes and icons: a session of hours
// must not grow the window system's objects.
TEST_F(MainWindow, ALongSessionCreatesNoWindowSystemObjects) {
  const HWND window = program.Window();
  const HWND link = program.Control(ControlId::lblURL);
  const WPARAM clock = app::kFirstControlId + static_cast<int>(ControlId::Timer2);
  auto session = [&](int ticks, int switches, int hovers) {
    for (int i = 0; i < ticks; ++i) ::SendMessageW(window, WM_TIMER, clock, 0);
    for (int i = 0; i < switches; ++i) program.ClickPage(i % 4);
    for (int i = 0; i < hovers; ++i) {
      ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
      ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    }
  };
  session(10, 8, 2);  // what a first use creates once
  const std::size_t before = program.GuiObjects();
  ASSERT_GT(before, 0u) << "this system counts no objects";
  session(10000, 1000, 1000);
  // Wine makes the odd object of its own lazily; one object per tick, switch or hover would
  // add a thousand at least.
  EXPECT_LE(program.GuiObjects(), before + 8);
}

}  // namespace
}  // namespace vekhor::testing
