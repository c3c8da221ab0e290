// The two downloads as a Windows user meets them: the installer run silently, the installed
// program's /close, an update over it, the silent uninstaller; and the portable zip. Runs
// beside the bundled server on port 37, in the tests' private prefix.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vektal Horolan";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";

fs::path KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  fs::path folder;
  if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) folder = path;
  ::CoTaskMemFree(path);
  return folder;
}

// A started program, ended by force if it still runs when the object goes.
struct Process {
  explicit Process(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info);
  }
  ~Process() {
    if (info.hProcess == nullptr) return;
    ::TerminateProcess(info.hProcess, 99);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
  // The exit status, or STILL_ACTIVE when it did not start or end within a minute.
  DWORD Status() const {
    DWORD status = STILL_ACTIVE;
    if (::WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0)
      ::GetExitCodeProcess(info.hProcess, &status);
    return status;
  }
  PROCESS_INFORMATION info{};
};

DWORD RunToEnd(std::string commandLine) {
  return Process(std::move(commandLine)).Status();
}

std::string Quoted(const fs::path& path) {
  std::string quoted(1, '"');
  quoted += path.string();
  quoted += '"';
  return quoted;
}

// A value's text, or "(none)".
std::string Value(HKEY root, const char* key, const char* name) {
  char data[1024] = {};
  DWORD size = sizeof(data);
  DWORD type = 0;
  if (::RegGetValueA(root, key, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
    return "(none)";
  return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : data;
}

void SetValue(HKEY root, const char* key, const char* name, const std::string& text) {
  ::RegSetKeyValueA(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::set<std::string> FileNames(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    names.insert(entry.path().filename().string());
  return names;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program's list: the bundled server alone, checked; logging on, not a first start.
void StoreSettings() {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  SetValue(HKEY_CURRENT_USER, kSettingsKey, "SysTray", "0");
  SetValue(HKEY_CURRENT_USER, kSettingsKey, "Log", "1");
  SetValue(HKEY_CURRENT_USER, kServersKey, "Server1", "127.0.0.1");
  SetValue(HKEY_CURRENT_USER, kServersKey, "ServerChecked1", "-1");
}

struct Release : ::testing::Test {
  void SetUp() override {
    if (std::getenv("VEKHOR_TIME_PORT") == nullptr) GTEST_SKIP() << "needs the bundled server";
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StoreSettings();
  }
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

  const fs::path folder = KnownFolder(FOLDERID_LocalAppData) / "Programs" / "Vektal Horolan";
  const fs::path shortcut = KnownFolder(FOLDERID_Programs) / "Vektal Horolan.lnk";

  // The uninstaller hands over to a copy of itself and returns at once: wait for the copy.
  void Uninstall(const std::string& options) {
    ASSERT_EQ(RunToEnd(Quoted(folder / "Uninstall.exe") + " /S" + options), 0u);
    for (int wait = 0;
         wait < 600 && (fs::exists(folder / "Uninstall.exe") ||
                        Value(HKEY_CURRENT_USER, kUninstallKey, "DisplayName") != "(none)");
         ++wait)
      ::Sleep(100);
  }
};

TEST_F(Release, InstallsSilentlyUpdatesKeepingTheUsersDataAndUninstalls) {
  ASSERT_EQ(RunToEnd(Quoted(VEKHOR_INSTALLER_PATH) + " /S"), 0u);
  EXPECT_EQ(FileNames(folder),
            (std::set<std::string>{"Guide.txt", "LICENSE.txt", "Uninstall.exe", "Vekhor.exe"}));
  EXPECT_TRUE(fs::exists(shortcut));
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kUninstallKey, "DisplayName"), "Vektal Horolan");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kUninstallKey, "DisplayVersion"), VEKHOR_VERSION);
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kUninstallKey, "Publisher"), "Vektal");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kUninstallKey, "DisplayIcon"),
            (folder / "Vekhor.exe").string() + ",0");
  EXPECT_GT(std::stoul(Value(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize")), 100u);

  EXPECT_EQ(RunToEnd(Quoted(folder / "Vekhor.exe") + " /close"), 0u) << Read(folder / "Log.wri");
  EXPECT_NE(Read(folder / "Log.wri").find("Connected to 127.0.0.1"), std::string::npos);

  {  // A running program holds its file open: the update waits for it, and silently gives up.
    const Process running(Quoted(folder / "Vekhor.exe"));
    ::WaitForInputIdle(running.info.hProcess, 30000);
    EXPECT_NE(RunToEnd(Quoted(VEKHOR_INSTALLER_PATH) + " /S"), 0u);
  }

  // An update over it: the list, the settings and the log stay as the user left them.
  SetValue(HKEY_CURRENT_USER, kServersKey, "Server2", "time.example.test");
  ASSERT_EQ(RunToEnd(Quoted(VEKHOR_INSTALLER_PATH) + " /S"), 0u);
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kServersKey, "Server2"), "time.example.test");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kSettingsKey, "Log"), "1");
  EXPECT_TRUE(fs::exists(folder / "Log.wri"));

  SetValue(HKEY_CURRENT_USER, kRunKey, "Vektal Horolan", Quoted(folder / "Vekhor.exe"));
  SetValue(HKEY_LOCAL_MACHINE, kRunKey, "Vektal Horolan", Quoted(folder / "Vekhor.exe"));
  Uninstall("");
  EXPECT_EQ(FileNames(folder), std::set<std::string>{"Log.wri"});
  EXPECT_FALSE(fs::exists(shortcut));
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kUninstallKey, "DisplayName"), "(none)");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kRunKey, "Vektal Horolan"), "(none)");
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kRunKey, "Vektal Horolan"), "(none)");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kServersKey, "Server1"), "127.0.0.1");

  // Asked to, it takes the user's data too, and the folder with it.
  ASSERT_EQ(RunToEnd(Quoted(VEKHOR_INSTALLER_PATH) + " /S"), 0u);
  Uninstall(" /REMOVEDATA");
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kSettingsKey, "Log"), "(none)");
}

TEST_F(Release, ThePortableZipHoldsTheProgramItsGuideAndLicenceAndRuns) {
  const fs::path unpacked = VEKHOR_UNPACKED_ZIP_PATH;
  EXPECT_EQ(FileNames(unpacked), (std::set<std::string>{"Guide.txt", "LICENSE.txt", "Vekhor.exe"}));
  EXPECT_EQ(Read(unpacked / "Guide.txt").rfind("Vektal Horolan " VEKHOR_VERSION "\r\n", 0), 0u);
  SetValue(HKEY_CURRENT_USER, kSettingsKey, "Log", "0");  // the folder stays as unpacked
  EXPECT_EQ(RunToEnd(Quoted(unpacked / "Vekhor.exe") + " /close"), 0u);
}

}  // namespace
