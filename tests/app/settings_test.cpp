// The Settings page's boxes wired as the window wires them, over the settings store in an
// in-memory registry whose Run keys can be closed to writing, as they are without the rights.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "fakes/headless_form.h"
#include "fakes/registry_fakes.h"
#include "platform/memory/memory_registry.h"
#include "servers/registry_key.h"
#include "servers/registry_settings_store.h"
#include "servers/registry_value.h"

namespace vekhor {
namespace {

using app::ControlId;

constexpr const char* kRunSubKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr platform::RegistryKey kMachine = platform::kHkeyLocalMachine;
constexpr platform::RegistryKey kUser = platform::kHkeyCurrentUser;

// Refuses to open the Run key of the roots in `denied` for writing, or to create it there.
class RunKeysDenied final : public fakes::ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;
  std::set<platform::RegistryKey> denied;

  std::int32_t OpenKeyEx(platform::RegistryKey key, const std::string& subKey,
                         std::uint32_t options, std::uint32_t desired,
                         platform::RegistryKey& result) override {
    if (Denied(key, subKey) && (desired & platform::kKeySetValue) != 0) {
      return platform::kErrorAccessDenied;
    }
    return ForwardingRegistry::OpenKeyEx(key, subKey, options, desired, result);
  }
  std::int32_t CreateKey(platform::RegistryKey key, const std::string& subKey,
                         platform::RegistryKey& result) override {
    if (Denied(key, subKey)) return platform::kErrorAccessDenied;
    return ForwardingRegistry::CreateKey(key, subKey, result);
  }

 private:
  bool Denied(platform::RegistryKey key, const std::string& subKey) const {
    return denied.contains(key) && subKey == kRunSubKey;
  }
};

struct SettingsPage : ::testing::Test {
  SettingsPage() {
    // The machine's Run key exists on every Windows; a fresh profile may lack the user's.
    OwnedKey::Create(memory, kMachine, kRunSubKey);
    autostart.onClick = [this] {
      ++autostartClicks;
      app::AutostartClicked(autostart, settings, registry, appFolder);
    };
    form.checkBox(ControlId::chkInternetConnection).onClick = [this] {
      app::StoreCheckBox(form.checkBox(ControlId::chkInternetConnection), settings,
                         app::kInternetConnectionSetting);
    };
    form.checkBox(ControlId::chkLog).onClick = [this] {
      app::StoreCheckBox(form.checkBox(ControlId::chkLog), settings, app::kLogSetting);
    };
    form.checkBox(ControlId::chkSysTray).onClick = [this] {
      app::StoreCheckBox(form.checkBox(ControlId::chkSysTray), settings, app::kSysTraySetting);
    };
    sync.onClick = [this] { app::SyncClicked(sync, settings, timer1); };
  }

  std::string Stored(const char* key) {
    return settings.GetSetting(kSettingsApplication, kSettingsSection, key, "absent");
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
  RegistrySettingsStore settings{registry};
  fakes::HeadlessForm form;
  fakes::HeadlessCheckBox& autostart = form.checkBox(ControlId::chkAutostart);
  fakes::HeadlessCheckBox& sync = form.checkBox(ControlId::chkSync);
  fakes::HeadlessTimer& timer1 = form.timer(ControlId::Timer1);
  std::string appFolder = "C:\\Program Files\\Vektal";
  int autostartClicks = 0;
};

TEST_F(SettingsPage, EachBoxStoresItsValueAtOnceAndTheHourlyBoxRunsTimer1WhileNotClear) {
  const std::pair<ControlId, const char*> boxes[] = {
      {ControlId::chkAutostart, "Autostart"},
      {ControlId::chkInternetConnection, "InternetConnection"},
      {ControlId::chkLog, "Log"},
      {ControlId::chkSysTray, "SysTray"},
      {ControlId::chkSync, "Interval"}};
  for (const auto& [id, key] : boxes) {
    SCOPED_TRACE(key);
    fakes::HeadlessCheckBox& box = form.checkBox(id);
    box.Click();
    EXPECT_EQ(Stored(key), "1");
    EXPECT_EQ(timer1.enabled, id == ControlId::chkSync);
    box.Click();
    EXPECT_EQ(Stored(key), "0");
    EXPECT_FALSE(timer1.enabled);
  }
  // A start can set the third value: the box is not clear, so the hour is kept.
  sync.SetValue(app::kGrayed);
  EXPECT_EQ(Stored("Interval"), "2");
  EXPECT_TRUE(timer1.enabled);
}

TEST_F(SettingsPage, TheRunValueIsTheQuotedProgramInItsFolderOnTheMachinesKey) {
  EXPECT_EQ(app::RunValueData("D:\\"), "\"D:\\Vekhor.exe\"");
  EXPECT_EQ(app::RunValueData("C:\\Program Files\\Vektal"),
            "\"C:\\Program Files\\Vektal\\Vekhor.exe\"");

  PutRunValue(kUser, "\"C:\\Old\\Vekhor.exe\"");  // left by a start without the rights
  autostart.Click();
  EXPECT_EQ(RunValue(kMachine), "\"C:\\Program Files\\Vektal\\Vekhor.exe\"");
  EXPECT_EQ(RunValue(kUser), std::nullopt) << "the program would start twice";
  // Every start with the box checked writes the value again: it follows a moved program.
  autostart.SetValue(app::kUnchecked);
  appFolder = "D:\\";
  autostart.SetValue(app::kChecked);
  EXPECT_EQ(RunValue(kMachine), "\"D:\\Vekhor.exe\"");
  EXPECT_EQ(Stored("Autostart"), "1");
}

TEST_F(SettingsPage, ARefusedMachineKeyPutsTheValueUnderTheUsersKeyAndClearingRemovesBoth) {
  registry.denied = {kMachine};
  autostart.Click();
  EXPECT_EQ(autostart.value, app::kChecked);
  EXPECT_EQ(Stored("Autostart"), "1");
  EXPECT_EQ(RunValue(kMachine), std::nullopt);
  EXPECT_EQ(RunValue(kUser), "\"C:\\Program Files\\Vektal\\Vekhor.exe\"");

  registry.denied.clear();
  PutRunValue(kMachine, "\"C:\\Program Files\\Vektal\\Vekhor.exe\"");
  autostart.Click();
  EXPECT_EQ(Stored("Autostart"), "0");
  EXPECT_EQ(RunValue(kMachine), std::nullopt);
  EXPECT_EQ(RunValue(kUser), std::nullopt);
  // Clearing with no value anywhere only stores the box.
  autostart.SetValue(app::kGrayed);
  autostart.SetValue(app::kUnchecked);
  EXPECT_EQ(Stored("Autostart"), "0");
}

TEST_F(SettingsPage, WhenNeitherRunKeyTakesTheValueTheBoxClearsItselfAndStoresZero) {
  registry.denied = {kMachine, kUser};
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(attempt);
    autostartClicks = 0;
    autostart.Click();
    EXPECT_EQ(autostart.value, app::kUnchecked);
    EXPECT_EQ(Stored("Autostart"), "0");
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
