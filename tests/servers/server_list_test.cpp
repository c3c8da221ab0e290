// The server list in the registry: what a start loads, what a save leaves behind, that a save the
// registry refuses part-way, at every point, still leaves one complete list, and the Servers page
// on the headless toolkit: what the list box shows after each edit and what the next start finds.
#include "servers/list_editing.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/headless_controls.h"
#include "fakes/headless_toolkit.h"
#include "fakes/registry_fakes.h"
#include "platform/memory/memory_registry.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

using ServerListStore = ServerStoreTest;

TEST_P(ServerListStore, AFirstStartSavesTheTwelveDefaultsCheckedAndEditsSurviveARestart) {
  ServerCollection servers{"kept"};
  EXPECT_FALSE(LoadServers(registry, servers, where));
  EXPECT_EQ(servers, ServerCollection{"kept"}) << "no stored list leaves the collection alone";
  EXPECT_TRUE(DeleteServersKey(registry, where)) << "a missing key is left alone";
  ASSERT_TRUE(CreateServersKey(registry, where));
  EXPECT_TRUE(LoadServers(registry, servers, where));
  EXPECT_TRUE(servers.empty()) << "an empty key is an empty list";

  AddDefaultServers(servers);
  ASSERT_EQ(std::set<std::string>(servers.begin(), servers.end()).size(), 12u);
  ASSERT_TRUE(SaveServers(registry, servers, ListedMarks(), where));
  // More than nine servers: enumerated by name, Server10 would come before Server2.
  ServerList list{servers, std::vector<bool>(12, true)};
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(list));
  EXPECT_EQ(LoadList(registry, where), list);
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  if (GetParam() == fakes::RegistryBackend::MemoryInCreationOrder) {
    // Creation order is what Windows enumerates: Server1, ServerChecked1, Server2, ...
    const fakes::NamedValues created = fakes::ValuesOf(registry, where.root, where.path);
    for (std::size_t i = 0; i < created.size(); ++i) {
      EXPECT_EQ(created[i].first, (i % 2 ? "ServerChecked" : "Server") + std::to_string(i / 2 + 1));
    }
  }

  list.hosts.erase(list.hosts.begin() + 1);
  list.checked.erase(list.checked.begin() + 1);
  list.hosts.push_back("added.example");
  list.checked.push_back(false);
  list.hosts.insert(list.hosts.begin(), std::string(list.hosts[8]));  // duplicates are allowed
  list.checked.insert(list.checked.begin(), true);
  list.checked[5] = false;
  for (const ServerList& saved : {list, ServerList{{"only.example"}, {false}}}) {
    ASSERT_TRUE(Save(registry, saved, where));
    EXPECT_EQ(LoadList(registry, where), saved);
    EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(saved)) << "no stale values behind";
  }
  ASSERT_TRUE(DeleteServersKey(registry, where));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path));
}

TEST_P(ServerListStore, GapsForeignNamesAndOtherLetterCaseLoadAsServersAndSaveRenumbered) {
  // Created in the order that name order gives too, so both enumerations agree on the rest.
  fakes::WriteValues(registry, where.root, where.path,
                     {{"Server12", "twelve"},
                      {"Server5", "five"},
                      {"ServerChecked5", "0"},
                      {"Extra", "foreign"},
                      {"Server1", "one"},
                      {"Server05", "padded number"},
                      {"serverchecked2", "other case"},
                      {"ServerChecked1", "-1"}});
  ServerCollection servers;
  ASSERT_TRUE(LoadServers(registry, servers, where));
  EXPECT_EQ(servers,
            (ServerCollection{"one", "five", "twelve", "foreign", "padded number", "other case"}));

  ASSERT_TRUE(SaveServers(registry, servers, ListedMarks({true, false}), where));
  const ServerList saved{servers, {true, false, true, true, true, true}};
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(saved));
}

TEST_P(ServerListStore, HostNamesComeBackExactlyAndAnOddValueLosesNothingBehindIt) {
  const ServerCollection hosts{std::string(254, 'a'), std::string(255, 'b'), std::string(4000, 'c'),
                               "  leading.example",   "trailing.example  ",  "",
                               "\xe5\xe4\xf6.example"};  // Latin-1 letters, stored as bytes
  ASSERT_TRUE(SaveServers(registry, hosts, ListedMarks(), where));
  ServerCollection loaded;
  ASSERT_TRUE(LoadServers(registry, loaded, where));
  EXPECT_EQ(loaded, hosts);

  // A value with no data, and one whose name is too long for the buffer, before the last.
  ASSERT_TRUE(DeleteServersKey(registry, where));
  fakes::WriteValues(registry, where.root, where.path,
                     {{"Server1", "first"},
                      {"Server2", ""},
                      {"Server" + std::string(2100, 'x'), "long name"},
                      {"Server3", "third"}});
  ASSERT_TRUE(LoadServers(registry, loaded, where));
  EXPECT_EQ(loaded, (ServerCollection{"first", "", "third"}));
  EXPECT_EQ(ReadServerValue(registry, "Missing", where), "");
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerListStore,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

TEST(ServerListStoreLimits, MoreServersThanASigned16BitCountHolds) {
  platform::MemoryRegistry registry;
  const ServersLocation where;
  const ServerList list = NumberedList("s", 40000);
  ASSERT_TRUE(Save(registry, list, where));
  EXPECT_EQ(ReadServerValue(registry, "Server40000", where), "s40000.example");
  EXPECT_EQ(LoadList(registry, where), list);
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

// Different lengths, so that a mixture of the two could not pass for either.
const ServerList oldList = NumberedList("old", 3);
const ServerList newList = NumberedList("new", 5);

using ServerSaveFailure = ServerStoreTest;

// Refused once, or from that change on as a full disk would: then nothing is cleaned up after
// the failure, as after a kill, and even the load cannot complete what it finds. After a single
// refusal the user ticks the third entry, unchecked in both lists, through the settings store
// (which writes the program's own key, so not in the system registry): the next start shows it.
TEST_P(ServerSaveFailure, ARefusedChangeAnywhereInTheSaveLeavesTheOldOrTheNewList) {
  // The changes a save of the new list over the old one asks for.
  ASSERT_TRUE(Save(registry, oldList, where));
  fakes::FailingWriteRegistry counting(registry, 0);
  ASSERT_TRUE(Save(counting, newList, where));
  const int changes = counting.Changes();
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
      const bool companionLeft = fakes::KeyExists(place.registry(), at.root, at.path + ".new");
      EXPECT_FALSE(saved && companionLeft) << "the save did not say it left its companion";

      ServerCollection loadedWhileFailing;
      if (persistent) {
        ASSERT_TRUE(LoadServers(failing, loadedWhileFailing, at));
      }
      const bool tick = !persistent && GetParam() != fakes::RegistryBackend::System;
      ServerList tickedOld = oldList;
      ServerList tickedNew = newList;
      tickedOld.checked[2] = tickedNew.checked[2] = tick;
      RegistrySettingsStore settings(place.registry());
      if (tick) {
        ASSERT_TRUE(settings.SaveSetting(kSettingsApplication,
                                         std::string(kSettingsSection) + "\\Servers",
                                         "ServerChecked3", "-1"));
      }
      // A later start with a working registry.
      const ServerList loaded = LoadList(place.registry(), at);
      EXPECT_TRUE(loaded == tickedNew || (!saved && loaded == tickedOld));
      keptOld += loaded.hosts == oldList.hosts;
      if (persistent) {
        EXPECT_EQ(loaded.hosts, loadedWhileFailing);
      }
      // Once loaded, the Servers key is the one list in the form older versions read.
      EXPECT_EQ(SortedValuesOf(place.registry(), at), StoredForm(loaded));
      EXPECT_FALSE(fakes::KeyExists(place.registry(), at.root, at.path + ".new"));
      const ServerList third = NumberedList("third", 2);
      ASSERT_TRUE(Save(place.registry(), third, at));
      EXPECT_EQ(LoadList(place.registry(), at), third);
    }
  }
  EXPECT_GT(keptOld, 0) << "a failure before the new list is complete keeps the old one";
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerSaveFailure,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

class ServerListEditing : public ServerStoreTest {
 protected:
  ServerList Shown() const {
    ServerList list;
    for (const auto& item : lstServer.items) {
      list.hosts.push_back(item.text);
      list.checked.push_back(item.checked);
    }
    return list;
  }

  // The list box, the collection, the Servers key and the next start agree on `expected`.
  void ExpectEverywhere(const ServerList& expected) {
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(servers, expected.hosts);
    EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(expected));
    EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
    EXPECT_EQ(LoadList(registry, where), expected);
  }

  RegistrySettingsStore settings{registry};  // in memory the Servers key is the program's own
  fakes::HeadlessToolkit toolkit;
  fakes::HeadlessCheckedList lstServer;
  fakes::HeadlessTextField txtServer;
  ServerCollection servers;

  ServerListEditing() {
    // As the window wires it.
    lstServer.onItemCheck = [this](int item) { StoreCheckMark(lstServer, item, settings); };
  }
};

TEST_P(ServerListEditing, AddAndRemoveStoreTheListAndMarksMoveWithTheirEntries) {
  // Stored, and shown as a start would.
  ASSERT_TRUE(Save(registry, {{"one.example", "two.example"}, {true, false}}, where));
  ASSERT_TRUE(LoadServers(registry, servers, where));
  FillServerList(lstServer, servers, settings);
  EXPECT_TRUE(AddServer(txtServer, lstServer, servers, registry));  // an empty field: nothing
  for (const std::string typed : {"  ", "one.example", " spaced .example "}) {
    txtServer.Type(typed);
    EXPECT_TRUE(AddServer(txtServer, lstServer, servers, registry));
    EXPECT_EQ(txtServer.text, "");
  }
  lstServer.ClickCheck(2);  // stores this mark alone, as the window wires it
  ServerList expected{{"one.example", "two.example", "  ", "one.example", " spaced .example "},
                      {true, false, true, false, false}};
  ExpectEverywhere(expected);

  EXPECT_TRUE(RemoveServer(toolkit, lstServer, servers, registry));  // no current entry: nothing
  lstServer.SetListIndex(1);
  toolkit.answer = 7;  // No
  EXPECT_TRUE(RemoveServer(toolkit, lstServer, servers, registry));
  ASSERT_EQ(toolkit.boxes.size(), 1u);
  EXPECT_EQ(toolkit.boxes[0].prompt, "Are you sure that you want to remove two.example?");
  EXPECT_EQ(toolkit.boxes[0].style, app::kMsgBoxQuestionYesNo);
  ExpectEverywhere(expected);

  toolkit.answer = app::kMsgBoxAnswerYes;
  EXPECT_TRUE(RemoveServer(toolkit, lstServer, servers, registry));
  expected.hosts.erase(expected.hosts.begin() + 1);
  expected.checked.erase(expected.checked.begin() + 1);
  ExpectEverywhere(expected);
}

TEST_P(ServerListEditing, OnlyAStoredMinusOneOrNoMarkTicksAnEntry) {
  fakes::WriteValues(registry, where.root, where.path,
                     {{"Server1", "a"},
                      {"ServerChecked1", "-1"},
                      {"Server2", "b"},
                      {"ServerChecked2", "0"},
                      {"Server3", "c"},
                      {"ServerChecked3", "1"},
                      {"Server4", "d"}});
  ASSERT_TRUE(LoadServers(registry, servers, where));
  FillServerList(lstServer, servers, settings);
  EXPECT_EQ(Shown(), (ServerList{{"a", "b", "c", "d"}, {true, false, false, true}}));

  const auto stored = SortedValuesOf(registry, where);
  EXPECT_FALSE(StoreCheckMark(lstServer, 4, settings));
  EXPECT_FALSE(StoreCheckMark(lstServer, -1, settings));
  EXPECT_FALSE(ListCheckMarks(lstServer).IsChecked(4));
  EXPECT_EQ(SortedValuesOf(registry, where), stored) << "an entry the list lacks stores nothing";

  // Filled again from a collection that lost an entry, the list shows no stale entry.
  servers.pop_back();
  FillServerList(lstServer, servers, settings);
  EXPECT_EQ(Shown(), (ServerList{{"a", "b", "c"}, {true, false, false}}));
}

INSTANTIATE_TEST_SUITE_P(Memory, ServerListEditing, MemoryBackends(), BackendParamName);

}  // namespace
}  // namespace vekhor::testing
