// A save that the registry refuses part-way, at every point, still leaves one complete list.
#include <gtest/gtest.h>

#include "fakes/registry_fakes.h"
#include "platform/memory/memory_registry.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

using fakes::RegistryBackend;

class ServerSaveFailure : public ServerStoreTest {
 protected:
  // Different lengths, so that a mixture of the two could not pass for either.
  const ServerList oldList = NumberedList("old", 3);
  const ServerList newList = NumberedList("new", 5);

  int ChangesOfAFullSave() {
    fakes::RegistryUnderTest scratch(GetParam());
    EXPECT_TRUE(Save(scratch.registry(), oldList, scratch.servers()));
    fakes::FailingWriteRegistry counting(scratch.registry(), 0);
    EXPECT_TRUE(Save(counting, newList, scratch.servers()));
    return counting.Changes();
  }
};

TEST_P(ServerSaveFailure, ARefusedChangeAnywhereInTheSaveLeavesTheOldOrTheNewList) {
  const int changes = ChangesOfAFullSave();
  ASSERT_GT(changes, 20);
  int keptOld = 0;
  for (int failAt = 1; failAt <= changes; ++failAt) {
    fakes::RegistryUnderTest place(GetParam());
    const ServersLocation& at = place.servers();
    ASSERT_TRUE(Save(place.registry(), oldList, at));
    fakes::FailingWriteRegistry failing(place.registry(), failAt);
    const bool saved = Save(failing, newList, at);
    EXPECT_TRUE(failing.Failed());

    const ServerList loaded = LoadList(place.registry(), at);
    if (saved) {
      EXPECT_EQ(loaded, newList) << "refused change " << failAt;
    } else {
      EXPECT_TRUE(loaded == oldList || loaded == newList) << "refused change " << failAt;
      keptOld += loaded == oldList;
    }
    // Once loaded, the Servers key is the one list in the form older versions read.
    EXPECT_EQ(SortedValuesOf(place.registry(), at), StoredForm(loaded)) << failAt;
    const ServerList third = NumberedList("third", 2);
    ASSERT_TRUE(Save(place.registry(), third, at)) << failAt;
    EXPECT_EQ(LoadList(place.registry(), at), third) << failAt;
    EXPECT_FALSE(fakes::KeyExists(place.registry(), at.root, at.path + ".new")) << failAt;
  }
  EXPECT_GT(keptOld, 0) << "a failure before the new list is complete keeps the old one";
}

TEST_P(ServerSaveFailure, ARegistryThatRefusesEverythingFromSomePointOnLosesNeitherList) {
  const int changes = ChangesOfAFullSave();
  for (int failAt = 1; failAt <= changes; ++failAt) {
    fakes::RegistryUnderTest place(GetParam());
    const ServersLocation& at = place.servers();
    ASSERT_TRUE(Save(place.registry(), oldList, at));
    fakes::FailingWriteRegistry full(place.registry(), failAt, /*persistent=*/true);
    const bool saved = Save(full, newList, at);
    ServerCollection loaded;
    ASSERT_TRUE(LoadServers(full, loaded, at)) << failAt;
    if (saved) {
      EXPECT_EQ(loaded, newList.hosts) << failAt;
    } else {
      EXPECT_TRUE(loaded == oldList.hosts || loaded == newList.hosts) << failAt;
    }
    // Nothing was cleaned up after the failure, as after a kill: a later start with a
    // working registry finds the same list whole.
    const ServerList restarted = LoadList(place.registry(), at);
    EXPECT_EQ(restarted.hosts, loaded) << failAt;
    EXPECT_TRUE(restarted == oldList || restarted == newList) << failAt;
    EXPECT_EQ(SortedValuesOf(place.registry(), at), StoredForm(restarted)) << failAt;
  }
}

TEST_P(ServerSaveFailure, KeysWithoutWriteRightsKeepThePreviousList) {
  ASSERT_TRUE(Save(registry, oldList, where));
  fakes::ReadOnlyKeysRegistry readOnly(registry);
  EXPECT_FALSE(Save(readOnly, newList, where));
  EXPECT_EQ(LoadList(registry, where), oldList);
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(oldList));
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerSaveFailure,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

TEST(ServerSaveDenied, AServersKeyThatMayNotBeChangedOrDeletedKeepsItsList) {
  platform::MemoryRegistry registry;
  const ServersLocation where;
  const ServerList list = NumberedList("kept", 4);
  ASSERT_TRUE(Save(registry, list, where));
  registry.DenyRights(where.root, where.path, platform::kKeySetValue | platform::kDelete);
  EXPECT_FALSE(Save(registry, NumberedList("lost", 2), where));
  EXPECT_EQ(LoadList(registry, where), list);
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

}  // namespace
}  // namespace vekhor::testing
