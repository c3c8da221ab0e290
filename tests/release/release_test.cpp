// The two downloads as a Windows user meets them: the installer run silently, the installed
// program's /close, an update over it, the silent uninstaller; and the portable zip.
#include <cctype>
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

  // Started from its folder, the uninstaller hands over to a copy of itself in TEMP and returns
  // at once, before its work is done. Run from such a copy with _?=, as NSIS documents, it is
  // the process that does the work, and its end is the uninstall's end.
  void Uninstall(const std::string& options) {
    const fs::path copy = fs::temp_directory_path() / "vekhor-test-uninstall.exe";
    ASSERT_TRUE(::CopyFileW((folder / "Uninstall.exe").c_str(), copy.c_str(), FALSE));
    const DWORD status = RunToEnd(Quoted(copy) + " /S" + options + " _?=" + folder.string());
    ::DeleteFileW(copy.c_str());
    ASSERT_EQ(status, 0u);
    EXPECT_FALSE(fs::exists(folder / "Uninstall.exe"));
    EXPECT_EQ(ReadValue("DisplayName", kUninstallKey), std::nullopt);
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
  EXPECT_EQ(RunValue(), std::nullopt);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt) << "an earlier version's";
  EXPECT_EQ(ReadValue("Server1", kServersKey), "127.0.0.1");

  // Asked to, it takes the user's data too, and the folder with it.
  ASSERT_EQ(RunToEnd(Quoted(installer) + " /S"), 0u);
  Uninstall(" /REMOVEDATA");
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(ReadValue("Log"), std::nullopt);
}

// An instance started as administrator holds its mutex out of the installer's reach: the
// installer waits for it all the same, and silently gives up.
TEST_F(Release, AnInstanceTheInstallerMayNotSeeIntoStillHoldsTheInstallBack) {
  const HANDLE held = HoldInstanceMutexOutOfReach();
  ASSERT_NE(held, nullptr);
  EXPECT_NE(RunToEnd(Quoted(installer) + " /S"), 0u);
  EXPECT_FALSE(fs::exists(folder / "Vekhor.exe"));
  ::CloseHandle(held);
}

// Unpacked where it was downloaded, the zip makes one folder rather than spilling its files.
TEST_F(Release, ThePortableZipHoldsOneFolderWithTheProgramItsGuideAndLicenceAndRuns) {
  const fs::path unpacked = VEKHOR_UNPACKED_ZIP_PATH;
  EXPECT_EQ(FileNames(unpacked), std::set<std::string>{"Vektal Horolan"});
  const fs::path program = unpacked / "Vektal Horolan";
  EXPECT_EQ(FileNames(program), (std::set<std::string>{"Guide.txt", "LICENSE.txt", "Vekhor.exe"}));
  SetValue("Log", "0");  // the folder stays as unpacked
  EXPECT_EQ(RunToEnd(Quoted(program / "Vekhor.exe") + " /close"), 0u);
}

// The DLLs the loader looks for beside the program before the system folder (all but the
// KnownDLLs, and comctl32, which the manifest takes from WinSxS) would run a planted copy inside
// the program: the released one imports none of them.
TEST(ReleaseImports, TheProgramImportsOnlyDllsTheLoaderTakesFromTheSystem) {
  const fs::path program = fs::path(VEKHOR_UNPACKED_ZIP_PATH) / "Vektal Horolan" / "Vekhor.exe";
  const HMODULE image =
      ::LoadLibraryExW(program.wstring().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(image, nullptr) << program;
  const auto* base = reinterpret_cast<const unsigned char*>(image);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::set<std::string> imported;
  for (const auto* entry =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       directory.Size != 0 && entry->Name != 0; ++entry) {
    std::string name = reinterpret_cast<const char*>(base + entry->Name);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    imported.insert(name);
  }
  ::FreeLibrary(image);
  const std::set<std::string> fromTheSystem = {"advapi32.dll", "comctl32.dll", "gdi32.dll",
                                               "kernel32.dll", "msvcrt.dll",   "shell32.dll",
                                               "user32.dll",   "ws2_32.dll"};
  EXPECT_FALSE(imported.empty());
  for (const std::string& name : imported) EXPECT_TRUE(fromTheSystem.contains(name)) << name;
}

}  // namespace
}  // namespace vekhor::testing
