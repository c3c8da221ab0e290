// The real Vekhor.exe under Wine, driven from outside as a user's tools would: its window, pages
// and tray icon, what it stores, a run against the bundled server, and how it ends.
#include <filesystem>
#include <iterator>

#include "res/catalogue.h"
#include "support/program.h"

namespace vekhor::testing {
namespace {

using toolkit::ControlId;
using enum toolkit::ControlId;

// Every test starts as a first start: nothing of the program's on the machine.
struct FirstStart : ::testing::Test {
  FirstStart() { ForgetProgram(); }
  ~FirstStart() override { ForgetProgram(); }
};
struct ProgramLife : FirstStart {};
struct MainWindow : FirstStart {
  ProgramWindow program;
  void SetUp() override { ASSERT_TRUE(program.Found()) << "no window from " VEKHOR_EXE_PATH; }
};

// Each page: its button, the control that takes the focus, and the controls on it alone.
const struct {
  ControlId button, focus;
  std::vector<ControlId> controls;
} kPages[] = {
    {optSync0, cmdSync, {cmdSync, lblStatus}},
    {optSync1, chkSync, {chkSync, chkInternetConnection, chkSysTray, chkLog, chkAutostart, cmdLog}},
    {optSync2, txtServer, {txtServer, cmdAdd, cmdRemove, lstServer}},
    {optSync3, cmdExit, {picLogo, lblAbout}},
};
const char* const kPageNames[] = {"synchronize", "settings", "servers", "about"};

// 4710 x 3345 twips: 314 x 223 pixels at 96 DPI, 471 x 334 at 144.
TEST_F(MainWindow, ClientAreaIsFixedInTwipsAtTheScreensDpi) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  const char* expected = std::getenv("VEKHOR_EXPECTED_DPI");
  EXPECT_EQ(dpi, expected != nullptr ? std::atoi(expected) : dpi);
  const LONG style = ::GetWindowLongW(program.Window(), GWL_STYLE);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_MINIMIZEBOX);
  // Then moved to a monitor of another DPI: the window and its controls take that one's size.
  for (int at : {dpi, dpi == 144 ? 96 : 144}) {
    if (at != dpi) ::SendMessageW(program.Window(), WM_DPICHANGED, MAKEWPARAM(at, at), 0);
    RECT client{}, exit{};
    ::GetClientRect(program.Window(), &client);
    EXPECT_EQ(client.right, 4710 * at / 1440) << at;
    EXPECT_EQ(client.bottom, 3345 * at / 1440) << at;
    ::GetWindowRect(program.Control(cmdExit), &exit);
    EXPECT_EQ(exit.right - exit.left, 3615 * at / 1440) << at;
  }
}

// Also pictures each page in the language of LANG, for a person to look at.
TEST_F(MainWindow, EachPageButtonShowsItsPageAloneAndFocusesItsControl) {
  for (int page : {2, 1, 3, 0}) {
    program.Click(kPages[page].button);
    for (const auto& other : kPages) {
      for (ControlId id : other.controls)
        EXPECT_EQ(program.Shown(id), &other == &kPages[page])
            << "page " << page << ", control " << toolkit::LayoutOf(id).name;
    }
    for (ControlId always : {lblTime, cmdExit, lblURL})
      EXPECT_TRUE(program.Shown(always)) << "page " << page;
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(program.Window(), nullptr), &thread);
    EXPECT_EQ(thread.hwndFocus, program.Control(kPages[page].focus)) << "page " << page;
    EXPECT_TRUE(program.SaveScreenshot(kPageNames[page]));
  }
  const std::string time = program.Text(lblTime);
  EXPECT_FALSE(time.empty());
  EXPECT_TRUE(WaitUntil([&] { return program.Text(lblTime) != time; }))
      << "the clock label stands still";
}

// For the length of a test, the shell opens with the probe what the open command `key` (under
// HKEY_LOCAL_MACHINE) serves: a web address, a file type.
struct ProbeOpens {
  explicit ProbeOpens(const char* openCommand) : key(openCommand) {
    std::remove(record.c_str());
    SetValue(nullptr, "\"" VEKHOR_SHELL_PROBE_PATH "\" \"" + record + "\" \"%1\"", key,
             HKEY_LOCAL_MACHINE);
  }
  ~ProbeOpens() { SetValue(nullptr, old.value_or(""), key, HKEY_LOCAL_MACHINE); }
  ProbeOpens(const ProbeOpens&) = delete;
  ProbeOpens& operator=(const ProbeOpens&) = delete;
  // The openings the probe recorded, one a line; empty when none came. The desktop's shell
  // starts the probe: on a prefix's first day that can take a while.
  std::string Openings() const {
    if (!WaitUntil([&] { return !ReadFile(record).empty(); }, 30000)) return "";
    ::Sleep(500);  // a second, wrong opening would have arrived by now
    return ReadFile(record);
  }
  const char* key;
  std::optional<std::string> old = ReadValue(nullptr, key, HKEY_LOCAL_MACHINE);
  const std::string record = std::string(std::getenv("TEMP")) + "\\vekhor-shell-probe.txt";
};

TEST_F(MainWindow, OnlyTheLeftButtonOnTheLinkOpensTheAddressThroughTheUsersShell) {
  const ProbeOpens browser("Software\\Classes\\https\\shell\\open\\command");
  for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP})
    program.Send(lblURL, message, 0, MAKELPARAM(5, 5));
  const std::string opened = browser.Openings();
  ASSERT_FALSE(opened.empty()) << "the shell opened nothing";
  EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 1) << opened;
  EXPECT_NE(opened.find(toolkit::kMakerAddress), std::string::npos) << opened;
  // Wine runs every program as administrator: the program asks the desktop's shell, so that the
  // browser does not start with its rights as its child.
  EXPECT_EQ(opened.find("started by " + std::to_string(program.ProcessId()) + "\n"),
            std::string::npos)
      << opened;
}

// Ticks, page switches and hovers reuse their fonts, brushes and icons over hours of use.
TEST_F(MainWindow, ALongSessionCreatesNoWindowSystemObjects) {
  const HWND window = program.Window();
  const WPARAM clock = toolkit::kFirstControlId + static_cast<int>(Timer2);
  auto session = [&](int ticks, int switches, int hovers) {
    for (int i = 0; i < ticks; ++i) ::SendMessageW(window, WM_TIMER, clock, 0);
    for (int i = 0; i < switches; ++i) program.Click(kPages[i % 4].button);
    for (int i = 0; i < hovers; ++i) {
      program.Send(lblURL, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
      ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    }
  };
  session(10, 8, 2);  // what a first use creates once
  const std::size_t before = program.GuiObjects();
  ASSERT_GT(before, 0u) << "this system counts no objects";
  session(10000, 1000, 1000);
  // Wine makes the odd object lazily; one per tick, switch or hover would add a thousand.
  EXPECT_LE(program.GuiObjects(), before + 8);
}

using Entry = std::pair<std::string, bool>;

TEST_F(MainWindow, ServerListEditsSurviveARestartInOrderWithTheirMarks) {
  const auto key = [&](WPARAM code) { program.Send(lstServer, WM_KEYDOWN, code); };
  // A first start: the twelve default servers, checked.
  const std::vector<Entry> defaults = program.ServerList();
  ASSERT_EQ(defaults.size(), 12u);
  for (const auto& [name, checked] : defaults) EXPECT_TRUE(checked) << name;
  const std::string second = defaults[1].first;

  program.Click(optSync2);  // the servers page
  ::SendMessageA(program.Control(txtServer), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("time.example.test"));
  program.Click(cmdAdd);
  ASSERT_EQ(program.ServerList().size(), 13u);
  EXPECT_EQ(program.ServerList()[12], Entry("time.example.test", false));
  EXPECT_EQ(program.Text(txtServer), "");
  key(VK_END);
  key(VK_SPACE);  // ticks the new entry, stored at once
  EXPECT_EQ(ReadValue("ServerChecked13", kServersKey), "-1");

  key(VK_HOME);
  key(VK_SPACE);  // clears the first entry
  key(VK_DOWN);   // the second is now the current entry
  ::PostMessageW(program.Control(cmdRemove), BM_CLICK, 0, 0);  // the question holds it
  const HWND question = program.WaitForWindowOfClass(L"#32770");
  ASSERT_NE(question, nullptr) << "no question before removing";
  wchar_t text[256] = {};
  ::GetDlgItemTextW(question, 0xFFFF, text, 256);
  const char* locale = std::getenv("LANG");
  const Language language = LanguageOfLocale(locale != nullptr ? locale : "");
  EXPECT_EQ(std::wstring(text),
            Wide(std::string(CatalogueText(115, language)) + " " + second + "?"));
  ::SendMessageW(::GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return program.ServerList().size() == 12; }));
  const std::vector<Entry> before = program.ServerList();
  EXPECT_FALSE(before[0].second);
  EXPECT_NE(before[1].first, second);
  EXPECT_EQ(before.back(), Entry("time.example.test", true));
  EXPECT_TRUE(program.SaveScreenshot("servers-edited"));
  EXPECT_EQ(program.Close(), 0u);

  ProgramWindow again;
  ASSERT_TRUE(again.Found());
  EXPECT_EQ(again.ServerList(), before);  // Wine enumerates the values by name, not in saved order
}

// The Run value goes under the user's key alone, and one an earlier version left under the
// machine's, which would start the program at every user's logon, goes.
TEST_F(MainWindow, EachSettingIsStoredAtOnceAndAutostartWritesAQuotedRunValueForTheUser) {
  SetValue(kRunValue, "C:\\Old\\Vekhor.exe", kRunKey, HKEY_LOCAL_MACHINE);
  program.Click(optSync1);  // the settings page
  const ControlId boxes[] = {chkSync, chkInternetConnection, chkSysTray, chkLog, chkAutostart};
  const char* const names[] = {"Interval", "InternetConnection", "SysTray", "Log", "Autostart"};
  for (std::size_t i = 0; i < std::size(boxes); ++i) {
    const bool wasChecked = program.Send(boxes[i], BM_GETCHECK) == BST_CHECKED;
    program.Click(boxes[i]);
    EXPECT_EQ(ReadValue(names[i]), wasChecked ? "0" : "1") << names[i];
  }
  const std::optional<std::string> run = RunValue();
  ASSERT_TRUE(run.has_value()) << "no Run value";
  EXPECT_EQ(run->front(), '"');
  EXPECT_EQ(run->substr(run->size() - 12), "\\Vekhor.exe\"") << *run;
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
  program.Click(chkAutostart);
  EXPECT_EQ(ReadValue("Autostart"), "0");
  EXPECT_EQ(RunValue(), std::nullopt);
}

// A copy of Vekhor.exe in a new folder of TEMP named `name` (UTF-8), removed at the end with the
// log the program writes there.
struct ProgramInFolder {
  explicit ProgramInFolder(const std::string& name)
      : folder(std::string(std::getenv("TEMP")) + "\\" + name), exe(folder + "\\Vekhor.exe") {
    copied = ::CreateDirectoryW(Wide(folder).c_str(), nullptr) &&
             ::CopyFileW(Wide(VEKHOR_EXE_PATH).c_str(), Wide(exe).c_str(), FALSE);
  }
  ~ProgramInFolder() {
    ::DeleteFileW(Wide(exe).c_str());
    ::DeleteFileW(Wide(folder + "\\Log.wri").c_str());
    ::RemoveDirectoryW(Wide(folder).c_str());
  }
  ProgramInFolder(const ProgramInFolder&) = delete;
  ProgramInFolder& operator=(const ProgramInFolder&) = delete;
  const std::string folder, exe;
  bool copied = false;
};

// A folder named outside the ANSI code page (Ł is not in code page 1252, Wine's for en_US): the
// program writes its log there, views it from there and starts with Windows from there.
TEST_F(ProgramLife, InAFolderNamedOutsideTheAnsiCodePageTheLogAndTheRunValueFindTheProgram) {
  const ProgramInFolder copy("\xC5\x81ukasz");
  ASSERT_TRUE(copy.copied) << "no such folder here: Wine names files in LC_CTYPE's character set";
  const ProbeOpens viewer("Software\\Classes\\wrifile\\shell\\open\\command");
  PrepareRun({});
  {
    ProgramWindow program("", ProgramWindow::Start::Shown, copy.exe);
    ASSERT_TRUE(program.Found());
    program.Click(optSync1);
    program.Click(chkAutostart);
    wchar_t run[1024] = {};
    DWORD size = sizeof(run);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, Wide(kRunKey).c_str(), Wide(kRunValue).c_str(),
                             RRF_RT_REG_SZ, nullptr, run, &size),
              ERROR_SUCCESS);
    EXPECT_TRUE(run == Wide("\"" + copy.exe + "\"")) << "Run value: " << RunValue().value_or("");
    program.Click(cmdLog);
    const std::string opened = viewer.Openings();
    EXPECT_NE(opened.find("\"" + copy.folder + "\\Log.wri\""), std::string::npos) << opened;
  }
  std::ifstream log(std::filesystem::path(Wide(copy.folder + "\\Log.wri")), std::ios::binary);
  const std::string lines(std::istreambuf_iterator<char>(log), {});
  EXPECT_THAT(lines, ::testing::HasSubstr("Log file created"));
  EXPECT_THAT(lines, ::testing::HasSubstr("Application closed"));
}

TEST_F(ProgramLife, ATrayStartKeepsTheWindowHiddenBehindAnIconWhoseMenuOpensIt) {
  SetValue("SysTray", "1");
  ProgramWindow program("", ProgramWindow::Start::Hidden);
  ASSERT_TRUE(program.Found());
  ::Sleep(500);
  EXPECT_FALSE(::IsWindowVisible(program.Window()));
  ASSERT_TRUE(program.PickFromTrayMenu(VK_DOWN));  // the first entry: Open
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.Window()) != FALSE; }));
}

TEST_F(MainWindow, TheCloseBoxHidesBehindAnIconWhoseMenuExitEndsTheProgram) {
  ::PostMessageW(program.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(program.Window()); }));
  // Up from no entry reaches the last one: Exit.
  ASSERT_TRUE(program.PickFromTrayMenu(VK_UP)) << "a hidden program must keep a way back";
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(ReadValue("SysTray"), "0");  // stored on unload
}

TEST_F(MainWindow, ASecondStartEndsAtOnceAndStoresNothing) {
  SetValue("SysTray", "1");  // not what the first one's box says
  EXPECT_NE(RunToEnd("\"" VEKHOR_EXE_PATH "\""), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(ReadValue("SysTray"), "1");
  EXPECT_TRUE(::IsWindowVisible(program.Window()));
}

// The user logs off with the window shown: the unload runs before the process is ended, so the
// next start is no first start, which would append the twelve default servers again.
TEST_F(MainWindow, TheSessionsEndUnloadsInOrderAndTheListStaysAsItWas) {
  SetValue("Log", "1");
  const std::vector<Entry> before = program.ServerList();
  ASSERT_EQ(before.size(), 12u);
  EXPECT_EQ(::SendMessageW(program.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  ::SendMessageW(program.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(ReadValue("SysTray"), "0");
  ExpectLog({"Application closed"}, {});

  ProgramWindow again;
  ASSERT_TRUE(again.Found());
  EXPECT_EQ(again.ServerList(), before);
}

// An instance started as administrator holds the instance mutex with rights an unelevated start
// lacks: the start is refused access, and that too means an instance runs.
TEST_F(ProgramLife, AMutexThisStartMayNotOpenStillMeansAnInstanceRuns) {
  const HANDLE held = HoldInstanceMutexOutOfReach();
  ASSERT_NE(held, nullptr) << "this system grants what it was told to refuse";
  EXPECT_NE(RunToEnd("\"" VEKHOR_EXE_PATH "\""), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(ReadValue("SysTray"), std::nullopt) << "the start went on as a first instance";
  ::CloseHandle(held);
}

// Beside the bundled server (see CMakeLists.txt), which gives the time, five bytes or a time a
// minute off, which Wine refuses to set, by the Time protocol or by SNTP; 127.0.0.3 answers the
// echo (all of 127/8 does) but serves neither, and the walk passes it. Then the same run with
// /close, as a scheduled task starts it: no window, and an exit status that says whether the clock
// was set.
TEST_F(ProgramLife, ARunFromTheWindowOrWithCloseSetsTheClockOrSaysWhyNot) {
  const char* expected = std::getenv("VEKHOR_EXPECTED_EXIT_STATUS");
  if (expected == nullptr) GTEST_SKIP() << "needs the bundled server";
  const auto english = [](int number) {
    return std::string(CatalogueText(number, Language::English));
  };
  // Nothing on port 37 when the server serves SNTP on port 123.
  const char* port = std::getenv("VEKHOR_SERVER_PORT");
  const bool sntp = port != nullptr && std::string(port) == "123";
  const std::string connected =
      english(text::kConnectedTo) + " 127.0.0.1" + (sntp ? " (SNTP)\r\n" : "\r\n");
  const std::string adjusted = english(text::kClockAdjusted);
  const std::string howFar = english(text::kClockWas) + " ";
  // By exit status: the status line (a set clock's followed by the time) and what is logged.
  const std::pair<std::string, std::vector<std::string>> outcomes[] = {
      {english(text::kClockSynchronised) + " ", {connected, adjusted, howFar}},
      {english(text::kNoTimeReceived), {english(text::kNoTimeReceived)}},
      {english(text::kClockNotSet), {connected, english(text::kClockNotSet), howFar}},
  };
  const auto exitStatus = static_cast<DWORD>(std::strtoul(expected, nullptr, 10));
  const auto& [wantStatus, logged] = outcomes[exitStatus];
  const std::vector<std::string> notLogged(exitStatus != 0 ? 1 : 0, adjusted);

  PrepareRun({"127.0.0.3", "127.0.0.1"});
  {
    ProgramWindow program;
    ASSERT_TRUE(program.Found());
    program.Click(cmdSync);  // returns after the run
    const std::string status = program.Text(lblStatus);
    EXPECT_EQ(exitStatus == 0 ? status.substr(0, wantStatus.size()) : status, wantStatus);
    EXPECT_TRUE(::IsWindowEnabled(program.Control(cmdSync)));
    ExpectLog(logged, notLogged);
  }
  ForgetProgram();
  PrepareRun({"127.0.0.3", "127.0.0.1"});
  EXPECT_EQ(RunToEnd("\"" VEKHOR_EXE_PATH "\" /CLOSE"), exitStatus);
  ExpectLog(logged, notLogged);
  ExpectLog({"Application closed"}, {"Application started"});
}

// Under a Wine with no X display, as under cron on a server: close mode makes no window, so it
// neither needs nor waits for one. A start with the window ends at once and says why.
TEST_F(ProgramLife, WithoutADisplayCloseModeRunsAndTheWindowEndsAtOnceSayingWhy) {
  if (std::getenv("VEKHOR_NO_DISPLAY") == nullptr) GTEST_SKIP() << "needs a Wine with no display";
  PrepareRun({"127.0.0.1"});
  const DWORD status = RunToEnd("\"" VEKHOR_EXE_PATH "\" /close", 5000);
  EXPECT_TRUE(status == 0 || status == 2) << "exit status " << status;
  ExpectLog({"Connected to 127.0.0.1", "Application closed"}, {"Application started"});
  EXPECT_EQ(RunToEnd("\"" VEKHOR_EXE_PATH "\"", 5000), 1u);
  ExpectLog({"The window could not be created"}, {"Application started"});
}

// Beside the bundled server giving a time a minute off, which Wine refuses to set: the window
// offers the run as administrator ("runas", which Wine starts as it starts any program), runs it
// on a click and tells its exit status: refused again, as Wine refuses administrators too.
TEST_F(ProgramLife, ARefusedChangeOffersARunAsAdministratorWhoseExitStatusTheWindowTells) {
  if (std::getenv("VEKHOR_TIME_PORT") == nullptr) GTEST_SKIP() << "needs the bundled server";
  const std::string refusal(CatalogueText(text::kClockNotSet, Language::English));
  PrepareRun({"127.0.0.1"});
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  EXPECT_FALSE(program.Shown(cmdSyncAdmin));
  program.Click(cmdSync);
  EXPECT_EQ(program.Text(lblStatus), refusal);
  ASSERT_TRUE(program.Shown(cmdSyncAdmin));
  EXPECT_EQ(program.Text(cmdSyncAdmin), "Set the clock as administrator");
  EXPECT_TRUE(program.SaveScreenshot("synchronize-refused"));
  program.Click(cmdSyncAdmin);  // returns once the run as administrator has ended
  EXPECT_EQ(program.Text(lblStatus), refusal);
  EXPECT_TRUE(program.Shown(cmdSyncAdmin));
  EXPECT_TRUE(::IsWindowEnabled(program.Control(cmdSync)));
  ExpectLog({"As administrator: " + refusal}, {});
  const std::string log = ReadFile(LogPath());
  std::size_t runs = 0;
  for (auto at = log.find("Connected to 127.0.0.1"); at != std::string::npos;
       at = log.find("Connected to 127.0.0.1", at + 1))
    ++runs;
  EXPECT_EQ(runs, 1u) << "the run as administrator sets the time the window fetched\n" << log;
}

// The first thing a new user does: start, Synchronize, refused, the shield, which runs /close
// beside the window. That run is the window's guest: the list stays the twelve the first start
// stored, and what the user then chooses in the window is what the window's exit stores.
TEST_F(MainWindow, CloseModeBesideAFirstStartWindowWritesNothing) {
  ASSERT_EQ(program.ServerList().size(), 12u);
  EXPECT_EQ(ReadValue("SysTray"), "0") << "the first start's marker, stored with the defaults";
  for (int n = 1; n <= 12; ++n)  // no name beyond this machine is looked up
    SetValue(("ServerChecked" + std::to_string(n)).c_str(), "0", kServersKey);
  SetValue("Log", "1");
  EXPECT_EQ(RunToEnd("\"" VEKHOR_EXE_PATH "\" /close"), 1u);
  ExpectLog({"No time server gave the time."}, {});
  program.Click(optSync1);
  program.Click(chkSync);
  EXPECT_EQ(program.Close(), 0u);
  EXPECT_EQ(ReadValue("Interval"), "1");
  EXPECT_NE(ReadValue("Server12", kServersKey), std::nullopt);
  EXPECT_EQ(ReadValue("Server13", kServersKey), std::nullopt) << "the defaults were added twice";
}

// In a network namespace whose loopback drops the echo to the bundled server (see CMakeLists.txt),
// as many networks and hosts do: it is asked all the same, and gives the time.
TEST_F(ProgramLife, AServerWhoseEchoIsDroppedIsAskedAllTheSame) {
  if (std::getenv("VEKHOR_FILTERED_LOOPBACK") == nullptr) GTEST_SKIP() << "needs the namespace";
  PrepareRun({"127.0.0.1"});
  SetValue("InternetConnection", "0");  // a namespace with loopback alone is offline to Windows
  EXPECT_EQ(RunToEnd("\"" VEKHOR_EXE_PATH "\" /close"), 0u);
  ExpectLog({"No response from 127.0.0.1", "Asked without an echo reply: 127.0.0.1",
             "Connected to 127.0.0.1"},
            {});
}

// Exit pressed while a walk waits in DoEvents: the run ends before the list it walks is freed.
TEST_F(ProgramLife, ExitInTheMiddleOfAWalkEndsTheProgramInOrder) {
  std::vector<std::string> dead;
  for (int n = 1; n <= 400; ++n) dead.push_back("127.0.1." + std::to_string(n % 250 + 2));
  PrepareRun(dead);
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  ::PostMessageW(program.Control(cmdSync), BM_CLICK, 0, 0);
  ::Sleep(400);
  EXPECT_EQ(program.Close(), 0u) << "the program ended badly";
  // Had the walk ended before Exit, the list would need to be longer.
  ExpectLog({"Application closed"}, {"No time server gave the time."});
}

}  // namespace
}  // namespace vekhor::testing
