// The Settings page's boxes in the loaded window, over Run keys that can refuse writing.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "fakes/registry_fakes.h"
#include "servers/registry_key.h"
#include "servers/registry_value.h"
#include "support/headless_program.h"

namespace vekhor {
namespace {

using enum app::ControlId;

constexpr const char* kRunSubKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr platform::RegistryKey kMachine = platform::kHkeyLocalMachine;
constexpr platform::RegistryKey kUser = platform::kHkeyCurrentUser;
const std::string kInstalled = "\"C:\\Program Files\\Vektal\\Vekhor.exe\"";  // the Run value

// Refuses to open the Run key of the roots in `denied` for writing, or to create it there.
class RunKeysDenied final : public fakes::ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;
  std::set<platform::RegistryKey> denied;

  std::int32_t OpenKeyEx(Key key, const std::string& subKey, std::uint32_t options,
                         std::uint32_t desired, Key& result) override {
    if (Denied(key, subKey) && (desired & platform::kKeySetValue) != 0) {
      return platform::kErrorAccessDenied;
    }
    return ForwardingRegistry::OpenKeyEx(key, subKey, options, desired, result);
  }
  std::int32_t CreateKey(Key key, const std::string& subKey, Key& result) override {
    if (Denied(key, subKey)) return platform::kErrorAccessDenied;
    return ForwardingRegistry::CreateKey(key, subKey, result);
  }

 private:
  bool Denied(Key key, const std::string& subKey) const {
    return denied.contains(key) && subKey == kRunSubKey;
  }
};

struct SettingsPage : ::testing::Test {
  SettingsPage() {
    // The machine's Run key exists on every Windows; a fresh profile may lack the user's.
    OwnedKey::Create(memory, kMachine, kRunSubKey);
    program.window.Form_Load();
    autostart.onClick = [this, click = std::move(autostart.onClick)] {
      ++autostartClicks;
      click();
    };
  }

  std::optional<std::string> RunValue(platform::RegistryKey root) {
    const OwnedKey key = OwnedKey::Open(memory, root, kRunSubKey, platform::kKeyRead);
    if (!key.IsOpen()) return std::nullopt;
    return ReadStringValue(memory, key.Get(), app::kRunValueName);
  }
  void PutRunValue(platform::RegistryKey root, const std::string& data) {
    const OwnedKey key = OwnedKey::Create(memory, root, kRunSubKey);
    memory.SetValueEx(key.Get(), app::kRunValueName, platform::kRegSz, data);
  }

  platform::MemoryRegistry memory;
  RunKeysDenied registry{memory};
  test::HeadlessProgram program{registry};
  fakes::HeadlessCheckBox& autostart = program.form.checkBox(chkAutostart);
  int autostartClicks = 0;
};

// The Wine tests click every box; here the third value a start can set: not clear, so hourly.
TEST_F(SettingsPage, TheHourlyBoxRunsTimer1WhileNotClearAndStoresItsValueAtOnce) {
  const fakes::HeadlessTimer& timer1 = program.form.timer(Timer1);
  fakes::HeadlessCheckBox& hourly = program.form.checkBox(chkSync);
  for (const int value : {app::kChecked, app::kUnchecked, app::kGrayed}) {
    hourly.SetValue(value);
    EXPECT_EQ(program.Setting("Interval"), std::to_string(value));
    EXPECT_EQ(timer1.enabled, value != app::kUnchecked) << value;
  }
}

TEST_F(SettingsPage, TheRunValueIsTheQuotedProgramInItsFolderOnTheMachinesKey) {
  PutRunValue(kUser, "\"C:\\Old\\Vekhor.exe\"");  // left by a start without the rights
  autostart.Click();
  EXPECT_EQ(RunValue(kMachine), kInstalled);
  EXPECT_EQ(RunValue(kUser), std::nullopt) << "the program would start twice";
  // Every start with the box checked writes the value again: it follows a moved program.
  autostart.SetValue(app::kUnchecked);
  program.toolkit.appPath = "D:\\";
  autostart.SetValue(app::kChecked);
  EXPECT_EQ(RunValue(kMachine), "\"D:\\Vekhor.exe\"");
  EXPECT_EQ(program.Setting("Autostart"), "1");
}

// With neither key open the box clears itself (its click runs again) and stores 0, every time.
TEST_F(SettingsPage, ARefusedMachineKeyFallsBackToTheUsersAndWithNeitherTheBoxClearsItself) {
  registry.denied = {kMachine};
  autostart.Click();
  EXPECT_EQ(program.Setting("Autostart"), "1");
  EXPECT_EQ(RunValue(kMachine), std::nullopt);
  EXPECT_EQ(RunValue(kUser), kInstalled);

  registry.denied.clear();
  PutRunValue(kMachine, kInstalled);
  autostart.Click();  // clearing removes both
  EXPECT_EQ(program.Setting("Autostart"), "0");
  EXPECT_EQ(RunValue(kMachine), std::nullopt);
  EXPECT_EQ(RunValue(kUser), std::nullopt);

  registry.denied = {kMachine, kUser};
  for (int attempt = 1; attempt <= 2; ++attempt) {
    autostartClicks = 0;
    autostart.Click();
    EXPECT_EQ(autostart.value, app::kUnchecked) << attempt;
    EXPECT_EQ(program.Setting("Autostart"), "0");
    EXPECT_EQ(autostartClicks, 2) << "the check, then the clearing it made";
  }
  EXPECT_EQ(RunValue(kMachine), std::nullopt);
  EXPECT_EQ(RunValue(kUser), std::nullopt);
}

TEST(StoredCheckState, OnlyTheExactTextsOfABoxsThreeValuesCountAndAllElseIsClear) {
  EXPECT_EQ(app::StoredCheckState("0"), app::kUnchecked);
  EXPECT_EQ(app::StoredCheckState("1"), app::kChecked);
  EXPECT_EQ(app::StoredCheckState("2"), app::kGrayed);
  for (const char* damaged : {"", " 1", "1 ", "01", "-1", "3", "1.0", "yes", "True", "65537"}) {
    EXPECT_EQ(app::StoredCheckState(damaged), app::kUnchecked) << '"' << damaged << '"';
  }
}

}  // namespace
}  // namespace vekhor
