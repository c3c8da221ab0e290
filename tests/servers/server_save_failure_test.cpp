// A save that the registry refuses part-way, at every point, still leaves one complete list.
#include <gtest/gtest.h>

#include "fakes/registry_fakes.h"
#include "platform/memory/memory_registry.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

// Different lengths, so that a mixture of the two could not pass for either.
const ServerList oldList = NumberedList("old", 3);
const ServerList newList = NumberedList("new", 5);

// The changes a save of the new list over the old one asks for, counted on a scratch registry.
int ChangesOfAFullSave(platform::Registry& scratch, const ServersLocation& where) {
  EXPECT_TRUE(Save(scratch, oldList, where));
  fakes::FailingWriteRegistry counting(scratch, 0);
  EXPECT_TRUE(Save(counting, newList, where));
  return counting.Changes();
}

using ServerSaveFailure = ServerStoreTest;

// Refused once, or from that change on as a full disk would: then nothing is cleaned up after
// the failure, as after a kill, and even the load cannot complete what it finds.
TEST_P(ServerSaveFailure, ARefusedChangeAnywhereInTheSaveLeavesTheOldOrTheNewList) {
  fakes::RegistryUnderTest scratch(GetParam());
  const int changes = ChangesOfAFullSave(scratch.registry(), scratch.servers());
  ASSERT_GT(changes, 20);
  int keptOld = 0;
  for (const bool persistent : {false, true}) {
    for (int failAt = 1; failAt <= changes; ++failAt) {
      SCOPED_TRACE((persistent ? "refused from change " : "refused change ") +
                   std::to_string(failAt));
      fakes::RegistryUnderTest place(GetParam());
      const ServersLocation& at = place.servers();
      ASSERT_TRUE(Save(place.registry(), oldList, at));
      fakes::FailingWriteRegistry failing(place.registry(), failAt, persistent);
      const bool saved = Save(failing, newList, at);
      EXPECT_TRUE(failing.Failed());

      ServerCollection loadedWhileFailing;
      if (persistent) {
        ASSERT_TRUE(LoadServers(failing, loadedWhileFailing, at));
        EXPECT_TRUE(loadedWhileFailing == oldList.hosts || loadedWhileFailing == newList.hosts);
      }
      // A later start with a working registry.
      const ServerList loaded = LoadList(place.registry(), at);
      if (saved) {
        EXPECT_EQ(loaded, newList);
      } else {
        EXPECT_TRUE(loaded == oldList || loaded == newList);
        keptOld += loaded == oldList;
      }
      if (persistent) {
        EXPECT_EQ(loaded.hosts, loadedWhileFailing);
      }
      // Once loaded, the Servers key is the one list in the form older versions read.
      EXPECT_EQ(SortedValuesOf(place.registry(), at), StoredForm(loaded));
      const ServerList third = NumberedList("third", 2);
      ASSERT_TRUE(Save(place.registry(), third, at));
      EXPECT_EQ(LoadList(place.registry(), at), third);
      EXPECT_FALSE(fakes::KeyExists(place.registry(), at.root, at.path + ".new"));
    }
  }
  EXPECT_GT(keptOld, 0) << "a failure before the new list is complete keeps the old one";
}

TEST_P(ServerSaveFailure, KeysWithoutWriteRightsKeepThePreviousList) {
  ASSERT_TRUE(Save(registry, oldList, where));
  fakes::ReadOnlyKeysRegistry readOnly(registry);
  EXPECT_FALSE(Save(readOnly, newList, where));
  EXPECT_EQ(LoadList(registry, where), oldList);
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(oldList));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerSaveFailure,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

// Single check marks go straight into the Servers key through the settings store, so they only
// ever live at the program's own place: the in-memory registry alone, in both orders.
class CheckMarkAfterARefusedSave : public ::testing::TestWithParam<platform::EnumerationOrder> {
 protected:
  const ServersLocation where;
};

// The user ticks the third entry, unchecked in both lists, after a save that the registry
// refused once anywhere: the next start must show it ticked, whichever list it shows, and must
// not find a companion a successful save left behind.
TEST_P(CheckMarkAfterARefusedSave, SurvivesTheNextStart) {
  platform::MemoryRegistry scratch(GetParam());
  const int changes = ChangesOfAFullSave(scratch, where);
  for (int failAt = 1; failAt <= changes; ++failAt) {
    SCOPED_TRACE("refused change " + std::to_string(failAt) + " of " + std::to_string(changes));
    platform::MemoryRegistry registry(GetParam());
    ASSERT_TRUE(Save(registry, oldList, where));
    fakes::FailingWriteRegistry failing(registry, failAt);
    const bool saved = Save(failing, newList, where);
    const bool companionLeft = fakes::KeyExists(registry, where.root, where.path + ".new");
    EXPECT_FALSE(saved && companionLeft) << "the save did not say it left its companion";

    RegistrySettingsStore settings(registry);
    ASSERT_TRUE(settings.SaveSetting(
        kSettingsApplication, std::string(kSettingsSection) + "\\Servers", "ServerChecked3", "-1"));
    const ServerList loaded = LoadList(registry, where);
    ASSERT_TRUE(loaded.hosts == oldList.hosts || loaded.hosts == newList.hosts);
    if (saved) {
      EXPECT_EQ(loaded.hosts, newList.hosts);
    }
    EXPECT_TRUE(loaded.checked[2]) << "the start undid the check mark";
    EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, CheckMarkAfterARefusedSave, BothOrders(), OrderParamName);

}  // namespace
}  // namespace vekhor::testing
