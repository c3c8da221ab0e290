// The servers page, the settings page and a start in the tray, end to end: the real Vekhor.exe
// driven through window messages, its settings and server list read back from Wine's registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/layout.h"
#include "res/catalogue.h"
#include "support/program_state.h"
#include "support/program_window.h"

namespace vekhor::testing {
namespace {

using app::ControlId;

// Every test starts as a first start: nothing of the program's in the registry.
struct Pages : ::testing::Test {
  void SetUp() override { ForgetProgram(); }
  void TearDown() override { ForgetProgram(); }
};

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide;
}

using Entries = std::vector<std::pair<std::string, bool>>;

Entries ListOf(const ProgramWindow& program) {
  Entries entries;
  for (int i = 0; i < program.ListCount(); ++i)
    entries.emplace_back(program.ListText(i), program.ListChecked(i));
  return entries;
}

void Key(const ProgramWindow& program, WPARAM key) {
  ::SendMessageW(program.Control(ControlId::lstServer), WM_KEYDOWN, key, 0);
  ::SendMessageW(program.Control(ControlId::lstServer), WM_KEYUP, key, 0);
}

void SaveScreenshots(const ProgramWindow& program) {
  const char* folder = std::getenv("VEKHOR_SCREENSHOT_FOLDER");
  if (folder == nullptr) return;
  const char* prefix = std::getenv("VEKHOR_SCREENSHOT_PREFIX");
  const std::string start = std::string(folder) + "/" + (prefix != nullptr ? prefix : "");
  ::CreateDirectoryA(folder, nullptr);
  program.ClickPage(2);
  ::Sleep(300);
  EXPECT_TRUE(program.SaveScreenshot(start + "servers-edited.bmp"));
  program.ClickPage(1);
  ::Sleep(300);
  EXPECT_TRUE(program.SaveScreenshot(start + "settings-edited.bmp"));
}

TEST_F(Pages, ServerListEditsSurviveARestartInOrderWithTheirMarks) {
  Entries before;
  {
    ProgramWindow program;
    ASSERT_TRUE(program.Found());
    // A first start: the twelve default servers, checked, and stored so.
    ASSERT_EQ(program.ListCount(), 12);
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(program.ListChecked(i)) << i;
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kServersKey, "ServerChecked12"), "-1");
    const std::optional<std::string> second = ReadValue(HKEY_CURRENT_USER, kServersKey, "Server2");
    ASSERT_TRUE(second.has_value());

    program.ClickPage(2);
    ::SendMessageA(program.Control(ControlId::txtServer), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("time.example.test"));
    ::SendMessageW(program.Control(ControlId::cmdAdd), BM_CLICK, 0, 0);
    ASSERT_EQ(program.ListCount(), 13);
    EXPECT_EQ(program.ListText(12), "time.example.test");
    EXPECT_FALSE(program.ListChecked(12));
    EXPECT_EQ(program.Text(ControlId::txtServer), "");
    Key(program, VK_END);
    Key(program, VK_SPACE);  // ticks the new entry
    EXPECT_TRUE(program.ListChecked(12));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kServersKey, "ServerChecked13"), "-1");

    Key(program, VK_HOME);
    Key(program, VK_SPACE);  // clears the first entry
    Key(program, VK_DOWN);   // the second is now the current entry
    ::PostMessageW(program.Control(ControlId::cmdRemove), BM_CLICK, 0, 0);
    const HWND question = program.WaitForWindowOfClass(L"#32770");
    ASSERT_NE(question, nullptr) << "no question before removing";
    wchar_t text[256] = {};
    ::GetDlgItemTextW(question, 0xFFFF, text, 256);
    const char* locale = std::getenv("LANG");
    EXPECT_EQ(
        std::wstring(text),
        Wide(std::string(CatalogueText(115, LanguageOfLocale(locale != nullptr ? locale : ""))) +
             " " + *second + "?"));
    ::SendMessageW(::GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && program.ListCount() != 12; ++i) ::Sleep(50);
    ASSERT_EQ(program.ListCount(), 12);
    before = ListOf(program);
    EXPECT_FALSE(before[0].second);
    EXPECT_NE(before[1].first, *second);
    EXPECT_EQ(before.back(), std::make_pair(std::string("time.example.test"), true));
    SaveScreenshots(program);
    EXPECT_EQ(program.Close(), 0u);
  }
  ProgramWindow again;
  ASSERT_TRUE(again.Found());
  EXPECT_EQ(ListOf(again), before);  // Wine enumerates the values by name, not in saved order
}

TEST_F(Pages, EachSettingIsStoredAtOnceAndAutostartWritesAQuotedRunValue) {
  ProgramWindow program;
  ASSERT_TRUE(program.Found());
  program.ClickPage(1);
  // A first start stores the Internet check's default.
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kSettingsKey, "InternetConnection"), "1");
  const std::pair<ControlId, const char*> boxes[] = {
      {ControlId::chkSync, "Interval"},
      {ControlId::chkInternetConnection, "InternetConnection"},
      {ControlId::chkSysTray, "SysTray"},
      {ControlId::chkLog, "Log"},
      {ControlId::chkAutostart, "Autostart"}};
  for (const auto& [box, key] : boxes) {
    const bool wasChecked = ::SendMessageW(program.Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
    ::SendMessageW(program.Control(box), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kSettingsKey, key), wasChecked ? "0" : "1") << key;
  }
  const std::optional<std::string> run =
      ReadValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).has_value()
          ? ReadValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue)
          : ReadValue(HKEY_CURRENT_USER, kRunKey, kRunValue);
  ASSERT_TRUE(run.has_value()) << "no Run value";
  EXPECT_EQ(run->front(), '"');
  EXPECT_EQ(run->substr(run->size() - 12), "\\Vekhor.exe\"") << *run;
  ::SendMessageW(program.Control(ControlId::chkAutostart), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kSettingsKey, "Autostart"), "0");
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).has_value());
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kRunKey, kRunValue).has_value());
}

TEST_F(Pages, ATrayStartKeepsTheWindowHiddenBehindAnIconWhoseMenuOpensIt) {
  SetValue(kSettingsKey, "SysTray", "1");
  ProgramWindow program("", ProgramWindow::Start::Hidden);
  ASSERT_TRUE(program.Found());
  ::Sleep(500);
  EXPECT_FALSE(::IsWindowVisible(program.Window()));
  const HWND host = program.Control(ControlId::TrayIcon);
  ASSERT_TRUE(TrayIconPresent(host));
  // The icon's right-button release opens the menu; its first entry opens the window.
  ::PostMessageW(host, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
  const HWND menu = program.WaitForWindowOfClass(L"#32768");
  ASSERT_NE(menu, nullptr) << "no menu from the icon";
  ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  for (int i = 0; i < 100 && !::IsWindowVisible(program.Window()); ++i) ::Sleep(50);
  EXPECT_TRUE(::IsWindowVisible(program.Window()));
}

}  // namespace
}  // namespace vekhor::testing
