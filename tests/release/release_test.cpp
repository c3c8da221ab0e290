// The two downloads as a Windows user meets them: the installer run silently, the installed
// program's /close, an update over it, the silent uninstaller; and the portable zip.
#include <filesystem>
#include <set>

#include "support/program.h"

namespace vekhor::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vektal Horolan";

std::string Quoted(const fs::path& path) {
  std::string quoted(1, '"');
  return quoted.append(path.string()).append(1, '"');
}

std::set<std::string> FileNames(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    names.insert(entry.path().filename().string());
  return names;
}

struct Release : ::testing::Test {
  void SetUp() override {
    if (std::getenv("VEKHOR_TIME_PORT") == nullptr) GTEST_SKIP() << "needs the bundled server";
    ForgetProgram();
    PrepareRun({"127.0.0.1"});
  }
  void TearDown() override { ForgetProgram(); }

  const fs::path installer = VEKHOR_INSTALLER_PATH;
  // The user's own program folder and Start menu, where a per-user install goes.
  const fs::path folder = fs::path(std::getenv("LOCALAPPDATA")) / "Programs" / "Vektal Horolan";
  const fs::path shortcut = fs::path(std::getenv("APPDATA")) /
                            "Microsoft\\Windows\\Start Menu\\Programs\\Vektal Horolan.lnk";

  // The uninstaller hands over to a copy of itself and returns at once: wait for the copy.
  void Uninstall(const std::string& options) {
    ASSERT_EQ(RunToEnd(Quoted(folder / "Uninstall.exe") + " /S" + options), 0u);
    EXPECT_TRUE(WaitUntil([&] {
      return !fs::exists(folder / "Uninstall.exe") && !ReadValue("DisplayName", kUninstallKey);
    }));
  }
};

TEST_F(Release, InstallsSilentlyUpdatesKeepingTheUsersDataAndUninstalls) {
  ASSERT_EQ(RunToEnd(Quoted(installer) + " /S"), 0u);
  EXPECT_EQ(FileNames(folder),
            (std::set<std::string>{"Guide.txt", "LICENSE.txt", "Uninstall.exe", "Vekhor.exe"}));
  EXPECT_TRUE(fs::exists(shortcut));
  EXPECT_EQ(ReadValue("DisplayName", kUninstallKey), "Vektal Horolan");
  EXPECT_EQ(ReadValue("DisplayVersion", kUninstallKey), VEKHOR_VERSION);
  EXPECT_EQ(ReadValue("Publisher", kUninstallKey), "Vektal");
  EXPECT_EQ(ReadValue("DisplayIcon", kUninstallKey), (folder / "Vekhor.exe").string() + ",0");
  DWORD size = 0, bytes = sizeof(size);
  ::RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize", RRF_RT_DWORD, nullptr, &size,
                 &bytes);
  EXPECT_GT(size, 100u);

  const fs::path log = folder / "Log.wri";
  EXPECT_EQ(RunToEnd(Quoted(folder / "Vekhor.exe") + " /close"), 0u) << ReadFile(log.string());
  EXPECT_THAT(ReadFile(log.string()), ::testing::HasSubstr("Connected to 127.0.0.1"));

  {  // A running program holds its file open: the update waits for it, and silently gives up.
    const ProgramWindow running("", ProgramWindow::Start::Shown, (folder / "Vekhor.exe").string());
    EXPECT_NE(RunToEnd(Quoted(installer) + " /S"), 0u);
  }

  // An update over it: the list, the settings and the log stay as the user left them.
  SetValue("Server2", "time.example.test", kServersKey);
  ASSERT_EQ(RunToEnd(Quoted(installer) + " /S"), 0u);
  EXPECT_EQ(ReadValue("Server2", kServersKey), "time.example.test");
  EXPECT_EQ(ReadValue("Log"), "1");
  EXPECT_TRUE(fs::exists(log));

  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    SetValue(kRunValue, Quoted(folder / "Vekhor.exe"), kRunKey, root);
  Uninstall("");
  EXPECT_EQ(FileNames(folder), std::set<std::string>{"Log.wri"});
  EXPECT_FALSE(fs::exists(shortcut));
  EXPECT_EQ(ReadValue("DisplayName", kUninstallKey), std::nullopt);
  EXPECT_EQ(RunValue(), std::nullopt) << "on either key";
  EXPECT_EQ(ReadValue("Server1", kServersKey), "127.0.0.1");

  // Asked to, it takes the user's data too, and the folder with it.
  ASSERT_EQ(RunToEnd(Quoted(installer) + " /S"), 0u);
  Uninstall(" /REMOVEDATA");
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(ReadValue("Log"), std::nullopt);
}

TEST_F(Release, ThePortableZipHoldsTheProgramItsGuideAndLicenceAndRuns) {
  const fs::path unpacked = VEKHOR_UNPACKED_ZIP_PATH;
  EXPECT_EQ(FileNames(unpacked), (std::set<std::string>{"Guide.txt", "LICENSE.txt", "Vekhor.exe"}));
  SetValue("Log", "0");  // the folder stays as unpacked
  EXPECT_EQ(RunToEnd(Quoted(unpacked / "Vekhor.exe") + " /close"), 0u);
}

}  // namespace
}  // namespace vekhor::testing
