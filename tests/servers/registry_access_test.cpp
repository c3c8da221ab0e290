// The registry layer: keys addressed by full path, and settings where earlier versions kept them
// (REG_SZ values below the program's settings key).
#include <gtest/gtest.h>

#include "fakes/registry_backends.h"
#include "servers/registry_access.h"
#include "servers/registry_key.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

using platform::RegistryKey;

TEST(KeyPaths, RootNamesMatchExactlyAndPathsSplitAtTheFirstBackslash) {
  EXPECT_EQ(GetRootKey("HKEY_CURRENT_USER"), 0x80000001u);
  EXPECT_EQ(GetRootKey("HKEY_DYN_DATA"), 0x80000006u);
  for (const char* wrong :
       {"hkey_current_user", "HKEY_CURRENT_USER ", "HKEY_CURRENT", "HKCU", ""}) {
    EXPECT_EQ(GetRootKey(wrong), 0u) << '"' << wrong << '"';
  }
  const struct {
    std::string path;
    RegistryKey root;
    std::string rest;
  } splits[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0x80000002u,
       "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {"HKEY_CURRENT_USER", 0x80000001u, ""},
      {"HKEY_ELSEWHERE\\Software", 0, "Software"},
      // Left as they are, and the root not written.
      {"HKEY_CURRENT_USER\\Software\\", 0x1234, "HKEY_CURRENT_USER\\Software\\"},
      {"Software\\Run", 0x1234, "Software\\Run"},
      {"hkey_current_user\\Software", 0x1234, "hkey_current_user\\Software"},
      {"HKEY", 0x1234, "HKEY"},
      {"", 0x1234, ""},
  };
  for (const auto& split : splits) {
    std::string path = split.path;
    RegistryKey root = 0x1234;
    SplitKeyPath(path, root);
    EXPECT_EQ(path, split.rest) << split.path;
    EXPECT_EQ(root, split.root) << split.path;
  }
}

using KeyPathWrites = ServerStoreTest;

TEST_P(KeyPathWrites, OnlyAnExistingKeyNamedExactlyTakesAValueAsRegSzWithItsTerminator) {
  const RegistryKey root = platform::kHkeyCurrentUser;
  const std::string& subKey = where.path;
  const std::string fullPath = "HKEY_CURRENT_USER\\" + subKey;
  fakes::WriteValues(registry, root, subKey, {{"kept", "value"}});
  ASSERT_TRUE(SetStringValue(registry, fullPath, "Vektal Horolan", "abc"));
  {
    const OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyRead);
    char data[16] = {};
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    ASSERT_EQ(registry.QueryValueEx(key.Get(), "Vektal Horolan", &type, data, size), 0);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_EQ(std::string(data, size), std::string("abc\0", 4));
  }
  ASSERT_TRUE(DeleteValue(registry, fullPath, "Vektal Horolan"));
  EXPECT_FALSE(DeleteValue(registry, fullPath, "Vektal Horolan")) << "already gone";

  const std::string missing = subKey + "\\Missing";
  for (const std::string& wrong : {"HKEY_CURRENT_USER\\" + missing, "hkey_current_user\\" + subKey,
                                   fullPath + "\\", "HKEY_ELSEWHERE\\" + subKey}) {
    EXPECT_FALSE(SetStringValue(registry, wrong, "v", "x")) << wrong;
    EXPECT_FALSE(DeleteValue(registry, wrong, "kept")) << wrong;
  }
  EXPECT_FALSE(fakes::KeyExists(registry, root, missing)) << "the key is never created";
  EXPECT_EQ(fakes::ValuesOf(registry, root, subKey), (fakes::NamedValues{{"kept", "value"}}));
}

INSTANTIATE_TEST_SUITE_P(Backends, KeyPathWrites,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

// The settings store writes the program's own keys: in memory only.
using SettingsStore = ServerStoreTest;

TEST_P(SettingsStore, ReadsWhatEarlierVersionsWroteAndWritesItTheSameWay) {
  const std::string horolan = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
  RegistrySettingsStore store(registry);
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "SysTray", "absent"), "absent");
  fakes::WriteValues(registry, platform::kHkeyCurrentUser, horolan,
                     {{"SysTray", "1"}, {"Empty", ""}});
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "SysTray", "0"), "1");
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "systray", "0"), "1") << "names ignore case";
  EXPECT_EQ(store.GetSetting("Vektal", "Horolan", "Empty", "default"), "");
  EXPECT_EQ(store.GetSetting("Vektal", "", "SysTray", "default"), "default");

  ASSERT_TRUE(store.SaveSetting("Vektal", "Horolan", "LogFile", "0"));
  ASSERT_TRUE(store.SaveSetting("Vektal", "Horolan", "SysTray", "0"));
  // Names that would miss the section are refused.
  EXPECT_FALSE(store.SaveSetting("Vektal", "Horolan", "", "x"));
  EXPECT_FALSE(store.SaveSetting("", "Horolan", "SysTray", "x"));
  EXPECT_FALSE(fakes::KeyExists(registry, platform::kHkeyCurrentUser,
                                "Software\\VB and VBA Program Settings\\\\Horolan"));
  EXPECT_EQ(fakes::ValuesOf(registry, platform::kHkeyCurrentUser, horolan),
            (fakes::NamedValues{{"SysTray", "0"}, {"Empty", ""}, {"LogFile", "0"}}));
  // A single check mark lands in the Servers key of the server list.
  ASSERT_TRUE(store.SaveSetting("Vektal", "Horolan\\Servers", "ServerChecked2", "0"));
  EXPECT_EQ(ReadServerValue(registry, "ServerChecked2", where), "0");

  // A root alone addresses the root key itself.
  ASSERT_TRUE(SetStringValue(registry, "HKEY_CURRENT_USER", "AtTheRoot", "yes"));
  EXPECT_EQ(fakes::ValuesOf(registry, platform::kHkeyCurrentUser, ""),
            (fakes::NamedValues{{"AtTheRoot", "yes"}}));
}

INSTANTIATE_TEST_SUITE_P(Memory, SettingsStore,
                         ::testing::Values(fakes::RegistryBackend::MemoryInCreationOrder),
                         BackendParamName);

}  // namespace
}  // namespace vekhor::testing
