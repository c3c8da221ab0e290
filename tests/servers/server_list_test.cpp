// The registry layer, the server list stored there, and what the Servers page shows after edits.
#include "servers/list_editing.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/headless_toolkit.h"
#include "fakes/registry_fakes.h"
#include "servers/registry_access.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

// Only through the split does the program name a root.
TEST(KeyPaths, PathsSplitAtTheFirstBackslashAndOnlyAnExactRootNameCounts) {
  const std::tuple<std::string, platform::RegistryKey, std::string> splits[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0x80000002u,
       "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {"HKEY_CURRENT_USER", 0x80000001u, ""},
      {"HKEY_DYN_DATA\\Software", 0x80000006u, "Software"},
      {"HKEY_CURRENT\\Software", 0, "Software"},
      {"HKEY_CURRENT_USER \\Software", 0, "Software"},
      // Left as they are, and the root not written.
      {"HKEY_CURRENT_USER\\Software\\", 0x1234, "HKEY_CURRENT_USER\\Software\\"},
      {"Software\\Run", 0x1234, "Software\\Run"},
      {"hkey_current_user\\Software", 0x1234, "hkey_current_user\\Software"},
      {"HKEY", 0x1234, "HKEY"},
      {"", 0x1234, ""},
  };
  for (const auto& [given, root, rest] : splits) {
    std::string path = given;
    platform::RegistryKey split = 0x1234;
    SplitKeyPath(path, split);
    EXPECT_EQ(std::pair(path, split), std::pair(rest, root)) << given;
  }
}

TEST_P(ServerListStore, AFirstStartSavesTheTwelveDefaultsCheckedAndAnyListSurvivesARestart) {
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
  const ServerList list{servers, std::vector<bool>(12, true)};
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(list));
  EXPECT_EQ(LoadList(registry, where), list);
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));

  ServerList edited = NumberedList("edited", 13);  // some unchecked
  edited.hosts[0] = edited.hosts[8];               // duplicates are allowed
  const ServerCollection odd{std::string(254, 'a'), std::string(255, 'b'), std::string(4000, 'c'),
                             "  leading.example",   "trailing.example  ",  "",
                             "\xe5\xe4\xf6.example"};  // Latin-1 letters, stored as bytes
  for (const ServerList& saved : {edited, ServerList{odd, std::vector<bool>(7, true)},
                                  ServerList{{"only.example"}, {false}}}) {
    ASSERT_TRUE(Save(registry, saved, where));
    EXPECT_EQ(LoadList(registry, where), saved);
    EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(saved)) << "no stale values behind";
  }
  ASSERT_TRUE(DeleteServersKey(registry, where));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path));
}

// Gaps, foreign names, other letter case, a value with no data, one whose name is too long for
// the buffer (with values behind it), and NULs inside the data, as some tools write them, which
// end the text there as in the list control; created in name order, so both enumerations agree.
TEST_P(ServerListStore, OddValuesLoadAsTheyAreAndSaveRenumbered) {
  fakes::WriteValues(registry, where.root, where.path,
                     {{"Extra", "foreign"},
                      {"Server05", "padded number"},
                      {"Server0" + std::string(2100, 'x'), "long name"},
                      {"Server1", "one"},
                      {"Server12", "twelve"},
                      {"Server2", ""},
                      {"Server3", std::string("nul\0\0", 5)},
                      {"Server4", std::string("cut\0after", 9)},
                      {"Server5", "five"},
                      {"ServerChecked1", "-1"},
                      {"ServerChecked5", "0"},
                      {"serverchecked2", "other case"}});
  ServerCollection servers;
  ASSERT_TRUE(LoadServers(registry, servers, where));
  EXPECT_EQ(servers, (ServerCollection{"one", "", "nul", "cut", "five", "twelve", "foreign",
                                       "padded number", "other case"}));
  EXPECT_EQ(ReadServerValue(registry, "Missing", where), "");

  ASSERT_TRUE(SaveServers(registry, servers, ListedMarks({true, false}), where));
  const ServerList saved{servers, {true, false, true, true, true, true, true, true, true}};
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(saved));
}

TEST_P(ServerListStore, OnlyAnExistingKeyNamedExactlyTakesAValueAsRegSzWithItsTerminator) {
  const auto& [root, subKey] = where;
  const std::string fullPath = "HKEY_CURRENT_USER\\" + subKey;
  fakes::WriteValues(registry, root, subKey, {{"kept", "value"}});
  ASSERT_TRUE(SetStringValue(registry, fullPath, "Vektal Horolan", "abc"));
  const OwnedKey key = OwnedKey::Open(registry, root, subKey, platform::kKeyRead);
  char data[16] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = 0;
  ASSERT_EQ(registry.QueryValueEx(key.Get(), "Vektal Horolan", &type, data, size), 0);
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(std::string(data, size), std::string("abc\0", 4));
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

// Refused once, or from then on as on a full disk (nothing is cleaned up, not even by the load).
// After a single refusal the user ticks the third entry, unchecked in both lists: a start shows it.
TEST_P(ServerListStore, ARefusedChangeAnywhereInTheSaveLeavesTheOldOrTheNewList) {
  ASSERT_TRUE(Save(registry, oldList, where));
  fakes::FailingWriteRegistry counting(registry, 0);
  ASSERT_TRUE(Save(counting, newList, where));
  const int changes = counting.changes;
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
      ServerList tickedOld = oldList;
      ServerList tickedNew = newList;
      tickedOld.checked[2] = tickedNew.checked[2] = !persistent;
      if (!persistent) {
        fakes::WriteValues(place.registry(), at.root, at.path, {{"ServerChecked3", "-1"}});
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

INSTANTIATE_TEST_SUITE_P(Backends, ServerListStore,
                         ::testing::ValuesIn(fakes::RegistryBackendsToTest()), BackendParamName);

class ServerListEditing : public ServerListStore {
 protected:
  ServerList Shown() const {
    ServerList list;
    for (const auto& item : lstServer.items) {
      list.hosts.push_back(item.text);
      list.checked.push_back(item.checked);
    }
    return list;
  }

  void ExpectEverywhere(const ServerList& expected) {
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(servers, expected.hosts);
    EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(expected));
  }

  RegistrySettingsStore settings{registry};  // in memory the Servers key is the program's own
  fakes::HeadlessToolkit toolkit;
  fakes::HeadlessCheckedList lstServer;
  fakes::HeadlessTextField txtServer;
  ServerCollection servers;

  ServerListEditing() {
    lstServer.onItemCheck = [this](int item) { StoreCheckMark(lstServer, item, settings); };
  }
};

TEST_P(ServerListEditing, EditsStoreTheListAndMarksMoveWithTheirEntries) {
  // Only a stored -1 or no mark at all ticks an entry.
  fakes::WriteValues(registry, where.root, where.path,
                     StoredForm({{"a", "b", "c"}, {true, false, false}}));
  fakes::WriteValues(registry, where.root, where.path, {{"ServerChecked3", "1"}, {"Server4", "d"}});
  ASSERT_TRUE(LoadServers(registry, servers, where));
  FillServerList(lstServer, servers, settings);
  EXPECT_EQ(Shown(), (ServerList{{"a", "b", "c", "d"}, {true, false, false, true}}));
  const auto stored = SortedValuesOf(registry, where);
  EXPECT_FALSE(StoreCheckMark(lstServer, 4, settings));
  EXPECT_FALSE(StoreCheckMark(lstServer, -1, settings));
  EXPECT_FALSE(ListCheckMarks(lstServer).IsChecked(4));
  EXPECT_EQ(SortedValuesOf(registry, where), stored) << "an entry the list lacks stores nothing";

  EXPECT_TRUE(AddServer(txtServer, lstServer, servers, registry));  // an empty field: nothing
  for (const std::string typed : {"  ", "a", " spaced .example "}) {
    txtServer.Type(typed);
    EXPECT_TRUE(AddServer(txtServer, lstServer, servers, registry));
    EXPECT_EQ(txtServer.text, "");
  }
  lstServer.ClickCheck(4);  // stores this mark alone, as the window wires it
  const ServerList expected{{"a", "b", "c", "d", "  ", "a", " spaced .example "},
                            {true, false, false, true, true, false, false}};
  ExpectEverywhere(expected);

  EXPECT_TRUE(RemoveServer(toolkit, lstServer, servers, registry));  // no current entry: nothing
  lstServer.SetListIndex(1);
  toolkit.answer = 7;  // No
  EXPECT_TRUE(RemoveServer(toolkit, lstServer, servers, registry));
  ASSERT_EQ(toolkit.boxes.size(), 1u);
  EXPECT_EQ(toolkit.boxes[0].prompt, "Are you sure that you want to remove b?");
  EXPECT_EQ(toolkit.boxes[0].style, toolkit::kMsgBoxQuestionYesNo);
  ExpectEverywhere(expected);

  toolkit.answer = toolkit::kMsgBoxAnswerYes;
  EXPECT_TRUE(RemoveServer(toolkit, lstServer, servers, registry));
  ExpectEverywhere(
      {{"a", "c", "d", "  ", "a", " spaced .example "}, {true, false, true, true, false, false}});

  // Filled again from a collection that lost an entry, the list shows no stale entry.
  servers.pop_back();
  FillServerList(lstServer, servers, settings);
  EXPECT_EQ(Shown(), (ServerList{{"a", "c", "d", "  ", "a"}, {true, false, true, true, false}}));
}

TEST_P(ServerListEditing, TheSettingsStoreReadsWhatEarlierVersionsWroteAndWritesItTheSameWay) {
  const std::string horolan = "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
  EXPECT_EQ(settings.GetSetting("Vektal", "Horolan", "SysTray", "absent"), "absent");
  fakes::WriteValues(registry, platform::kHkeyCurrentUser, horolan,
                     {{"SysTray", "1"}, {"Empty", ""}});
  EXPECT_EQ(settings.GetSetting("Vektal", "Horolan", "SysTray", "0"), "1");
  EXPECT_EQ(settings.GetSetting("Vektal", "Horolan", "systray", "0"), "1") << "names ignore case";
  EXPECT_EQ(settings.GetSetting("Vektal", "Horolan", "Empty", "default"), "");
  EXPECT_EQ(settings.GetSetting("Vektal", "", "SysTray", "default"), "default");

  ASSERT_TRUE(settings.SaveSetting("Vektal", "Horolan", "LogFile", "0"));
  ASSERT_TRUE(settings.SaveSetting("Vektal", "Horolan", "SysTray", "0"));
  // Names that would miss the section are refused.
  EXPECT_FALSE(settings.SaveSetting("Vektal", "Horolan", "", "x"));
  EXPECT_FALSE(settings.SaveSetting("", "Horolan", "SysTray", "x"));
  EXPECT_FALSE(fakes::KeyExists(registry, platform::kHkeyCurrentUser,
                                "Software\\VB and VBA Program Settings\\\\Horolan"));
  EXPECT_EQ(fakes::ValuesOf(registry, platform::kHkeyCurrentUser, horolan),
            (fakes::NamedValues{{"SysTray", "0"}, {"Empty", ""}, {"LogFile", "0"}}));

  // A root alone addresses the root key itself.
  ASSERT_TRUE(SetStringValue(registry, "HKEY_CURRENT_USER", "AtTheRoot", "yes"));
  EXPECT_EQ(fakes::ValuesOf(registry, platform::kHkeyCurrentUser, ""),
            (fakes::NamedValues{{"AtTheRoot", "yes"}}));
}

INSTANTIATE_TEST_SUITE_P(Memory, ServerListEditing,
                         ::testing::Values(fakes::RegistryBackend::MemoryInCreationOrder),
                         BackendParamName);

}  // namespace
}  // namespace vekhor::testing
