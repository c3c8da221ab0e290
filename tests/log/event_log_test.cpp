// The log file in a real folder: creation, appending, logging off, viewing, unwritable places.
#include "log/event_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "log/file_helpers.h"
#include "support/temp_folder.h"

namespace vekhor {
namespace {

struct EventLogTest : ::testing::Test {
  test::TempFolder folder;
  fakes::MemorySettings settings;
  fakes::HeadlessToolkit toolkit;
  fakes::RecordingClock clock;
  fakes::RecordingShell shell;
  EventLog log{settings, toolkit, clock, shell};

  void SetUp() override {
    toolkit.appPath = folder.path();
    clock.now = "2026-12-06 13:00:00";
  }
  void Logging(const char* value) {
    settings.SaveSetting(kSettingsApplication, kSettingsSection, "Log", value);
  }
  std::string Contents() const {
    std::ifstream in(log.LogPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(EventLogTest, OnlyLoggingOnWritesAndANewFileStartsWithItsHeaderInTheLanguage) {
  log.WriteLog("Application started");  // absent setting means off
  Logging("0");
  log.WriteLog("Application started");
  log.WriteLog("");  // off, no file: nothing at all
  EXPECT_FALSE(FileExists(log.LogPath()));
  Logging("1");
  std::filesystem::create_directory(log.LogPath());  // a folder where the file goes
  log.WriteLog("Application started");
  EXPECT_TRUE(std::filesystem::is_directory(log.LogPath()));
  std::filesystem::remove(log.LogPath());
  toolkit.appPath = folder.path() + "/missing/folder";
  log.WriteLog("Application started");
  log.WriteLog("");
  EXPECT_FALSE(FileExists(log.LogPath()));
  EXPECT_TRUE(shell.calls.empty());

  toolkit.appPath = folder.path();
  log.WriteLog("");  // on, no file: created with its header, then opened
  EXPECT_EQ(Contents(), "2026-12-06 13:00:00\tLog file created\r\n");
  const fakes::RecordingShell::Call view{toolkit.window, "", log.LogPath(), "", "C:\\", 1};
  EXPECT_EQ(shell.calls, std::vector{view});
  Logging("0");
  log.WriteLog("");  // off, file present: opened, nothing written
  EXPECT_EQ(shell.calls, (std::vector{view, view}));
  EXPECT_EQ(Contents(), "2026-12-06 13:00:00\tLog file created\r\n");

  // A new file starts with its header in the language; an old one is appended to.
  std::filesystem::remove(log.LogPath());
  fakes::HeadlessToolkit swedish(Language::Swedish);
  swedish.appPath = folder.path();
  Logging("2");  // anything but "0" is on
  EventLog(settings, swedish, clock, shell).WriteLog("Application started");
  log.WriteLog("Connected to time.example");
  EXPECT_EQ(Contents(),
            "2026-12-06 13:00:00\tLoggfil skapad\r\n"
            "2026-12-06 13:00:00\tApplication started\r\n"
            "2026-12-06 13:00:00\tConnected to time.example\r\n");
}

TEST_F(EventLogTest, PathsDropQuotesAndBlanksAndADriveRootTakesTheNameDirectly) {
  EXPECT_EQ(AddPathSeparator("C:\\Program Files\\Vektal", "Log.wri"), "\\Log.wri");
  EXPECT_EQ(AddPathSeparator("/opt/vektal", "Log.wri"), "/Log.wri");
  toolkit.appPath = "D:\\";
  EXPECT_EQ(log.LogPath(), "D:\\Log.wri");

  EXPECT_EQ(StripQuotes("  \"C:\\Program Files\\x\"  "), "C:\\Program Files\\x");
  EXPECT_EQ(StripQuotes("\"only one"), "\"only one");
  EXPECT_EQ(StripQuotes("   "), "");
  const std::string file = folder.path() + "/present.txt";
  { std::ofstream(file) << "x"; }
  EXPECT_TRUE(FileExists(" \"" + file + "\" "));
  EXPECT_FALSE(FileExists(folder.path() + "/absent.txt"));
  EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace vekhor
