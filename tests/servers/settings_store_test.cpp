// Settings where earlier versions kept them: REG_SZ values below the program's settings key.
#include <gtest/gtest.h>

#include "fakes/registry_backends.h"
#include "platform/memory/memory_registry.h"
#include "servers/registry_access.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"

namespace vekhor::testing {
namespace {

constexpr const char* kHorolanKey = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";

TEST(SettingsStore, ReadsWhatEarlierVersionsWroteAndWritesItTheSameWay) {
  platform::MemoryRegistry registry;
  RegistrySettingsStore store(registry);
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "SysTray", "absent"), "absent");

  fakes::WriteValues(registry, platform::kHkeyCurrentUser, kHorolanKey,
                     {{"SysTray", "1"}, {"Empty", ""}});
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "SysTray", "0"), "1");
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "systray", "0"), "1") << "names ignore case";
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "Empty", "default"), "");

  ASSERT_TRUE(store.SaveSetting("Vektal", "Horolan", "LogFile", "0"));
  ASSERT_TRUE(store.SaveSetting("Vektal", "Horolan", "SysTray", "0"));
  EXPECT_EQ(fakes::ValuesOf(registry, platform::kHkeyCurrentUser, kHorolanKey),
            (fakes::NamedValues{{"SysTray", "0"}, {"Empty", ""}, {"LogFile", "0"}}));
}

TEST(SettingsStore, ASingleCheckMarkLandsInTheServersKeyOfTheServerList) {
  platform::MemoryRegistry registry;
  RegistrySettingsStore store(registry);
  ASSERT_TRUE(store.SaveSetting("Vektal", "Horolan\\Servers", "ServerChecked2", "0"));
  EXPECT_EQ(ReadServerValue(registry, "ServerChecked2"), "0");
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(SettingsStore, NamesThatWouldMissTheSectionAreRefused) {
  platform::MemoryRegistry registry;
  RegistrySettingsStore store(registry);
  EXPECT_FALSE(store.SaveSetting("Vektal", "Horolan", "", "x"));
  EXPECT_FALSE(store.SaveSetting("", "Horolan", "SysTray", "x"));
  EXPECT_FALSE(fakes::KeyExists(registry, platform::kHkeyCurrentUser,
                                "Software\\VB and VBA Program Settings\\Vektal"));
  EXPECT_EQ(store.GetSetting("Vektal", "", "SysTray", "default"), "default");
}

TEST(SettingsStore, ARootAloneAddressesTheRootKeyItself) {
  platform::MemoryRegistry registry;
  ASSERT_TRUE(SetStringValue(registry, "HKEY_CURRENT_USER", "AtTheRoot", "yes"));
  EXPECT_EQ(fakes::ValuesOf(registry, platform::kHkeyCurrentUser, ""),
            (fakes::NamedValues{{"AtTheRoot", "yes"}}));
}

}  // namespace
}  // namespace vekhor::testing
