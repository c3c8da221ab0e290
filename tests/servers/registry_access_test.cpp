// Keys addressed by full path: how paths split, and that writes never go where they should not.
#include <gtest/gtest.h>

#include "fakes/registry_backends.h"
#include "servers/registry_access.h"
#include "servers/registry_key.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

using platform::RegistryKey;

struct Split {
  std::string path;
  RegistryKey root;
};

Split SplitOf(const std::string& path) {
  Split split{path, 0};
  SplitKeyPath(split.path, split.root);
  return split;
}

TEST(KeyPaths, RootNamesMatchExactlyAndPathsSplitAtTheFirstBackslash) {
  EXPECT_EQ(GetRootKey("HKEY_CURRENT_USER"), 0x80000001u);
  EXPECT_EQ(GetRootKey("HKEY_DYN_DATA"), 0x80000006u);
  for (const char* wrong :
       {"hkey_current_user", "HKEY_CURRENT_USER ", "HKEY_CURRENT", "HKCU", ""}) {
    EXPECT_EQ(GetRootKey(wrong), 0u) << '"' << wrong << '"';
  }

  const Split run =
      SplitOf("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(run.root, 0x80000002u);
  EXPECT_EQ(run.path, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");

  const Split rootAlone = SplitOf("HKEY_CURRENT_USER");
  EXPECT_EQ(rootAlone.root, 0x80000001u);
  EXPECT_EQ(rootAlone.path, "");

  const Split unknownRoot = SplitOf("HKEY_ELSEWHERE\\Software");
  EXPECT_EQ(unknownRoot.root, 0u);
  EXPECT_EQ(unknownRoot.path, "Software");

  for (const char* unsplit : {"HKEY_CURRENT_USER\\Software\\", "Software\\Run",
                              "hkey_current_user\\Software", "HKEY", ""}) {
    Split split{unsplit, 0x1234};
    SplitKeyPath(split.path, split.root);
    EXPECT_EQ(split.path, unsplit);
    EXPECT_EQ(split.root, 0x1234u) << "the root is not written";
  }
}

class KeyPathWrites : public ServerStoreTest {
 protected:
  std::string subKey = under.Key("Run");
  std::string fullPath = "HKEY_CURRENT_USER\\" + subKey;

  void SetUp() override { ASSERT_TRUE(OwnedKey::Create(registry, root, subKey).IsOpen()); }

  const RegistryKey root = platform::kHkeyCurrentUser;
};

TEST_P(KeyPathWrites, AThreeLetterValueIsStoredAsFourBytesOfRegSz) {
  ASSERT_TRUE(SetStringValue(registry, fullPath, "Vektal Horolan", "abc"));
  const OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyRead);
  char data[16] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = 0;
  ASSERT_EQ(registry.QueryValueEx(key.Get(), "Vektal Horolan", &type, data, size), 0);
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::string(data, size), std::string("abc\0", 4));

  ASSERT_TRUE(DeleteValue(registry, fullPath, "Vektal Horolan"));
  EXPECT_TRUE(fakes::ValuesOf(registry, root, subKey).empty());
  EXPECT_FALSE(DeleteValue(registry, fullPath, "Vektal Horolan")) << "already gone";
}

TEST_P(KeyPathWrites, PathsThatDoNotNameAnExistingKeyChangeNothing) {
  fakes::WriteValues(registry, root, subKey, {{"kept", "value"}});
  const std::string missing = subKey + "\\Missing";
  EXPECT_FALSE(SetStringValue(registry, "HKEY_CURRENT_USER\\" + missing, "v", "x"));
  EXPECT_FALSE(fakes::KeyExists(registry, root, missing)) << "the key is never created";

  const std::string lowerRoot = "hkey_current_user\\" + subKey;
  EXPECT_FALSE(SetStringValue(registry, lowerRoot, "v", "x"));
  EXPECT_FALSE(SetStringValue(registry, fullPath + "\\", "v", "x"));
  EXPECT_FALSE(SetStringValue(registry, "HKEY_ELSEWHERE\\" + subKey, "v", "x"));
  EXPECT_FALSE(DeleteValue(registry, lowerRoot, "kept"));
  EXPECT_FALSE(DeleteValue(registry, "HKEY_CURRENT_USER\\" + missing, "kept"));
  EXPECT_FALSE(DeleteValue(registry, fullPath, "absent"));
  EXPECT_EQ(fakes::ValuesOf(registry, root, subKey), (fakes::NamedValues{{"kept", "value"}}));
}

INSTANTIATE_TEST_SUITE_P(Backends, KeyPathWrites,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

}  // namespace
}  // namespace vekhor::testing
