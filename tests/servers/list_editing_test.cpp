// The Servers page on the headless toolkit: what the list box shows after each edit and what the
// next start finds in the registry.
#include "servers/list_editing.h"

#include <gtest/gtest.h>

#include "fakes/headless_controls.h"
#include "fakes/headless_toolkit.h"
#include "servers/registry_settings_store.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

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
