// The server list in the registry: what a start loads, what a save leaves behind.
#include <gtest/gtest.h>

#include <set>

#include "platform/memory/memory_registry.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

using fakes::NamedValues;
using fakes::RegistryBackend;

class ServerListStore : public ServerStoreTest {};

TEST_P(ServerListStore, AFirstStartSavesTheTwelveDefaultsAllCheckedAndLoadsThemBack) {
  ServerCollection servers{"kept"};
  EXPECT_FALSE(LoadServers(registry, servers, where));
  EXPECT_EQ(servers, ServerCollection{"kept"}) << "no stored list leaves the collection alone";

  servers.clear();
  AddDefaultServers(servers);
  ASSERT_EQ(servers.size(), 12u);
  EXPECT_EQ(std::set<std::string>(servers.begin(), servers.end()).size(), 12u);
  ASSERT_TRUE(SaveServers(registry, servers, ListedMarks(), where));

  const ServerList expected{servers, std::vector<bool>(12, true)};
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(expected));
  EXPECT_EQ(LoadList(registry, where), expected);
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  if (GetParam() == RegistryBackend::MemoryInCreationOrder) {
    // Creation order is what Windows enumerates: Server1, ServerChecked1, Server2, ...
    const NamedValues created = fakes::ValuesOf(registry, where.root, where.path);
    for (std::size_t i = 0; i < created.size(); ++i) {
      const std::string n = std::to_string(i / 2 + 1);
      EXPECT_EQ(created[i].first, (i % 2 ? "ServerChecked" : "Server") + n);
    }
  }
}

TEST_P(ServerListStore, EditsSurviveARestartInOrderWithTheirMarks) {
  // More than nine servers: enumerated by name, Server10 would come before Server2.
  ServerList list = NumberedList("host", 14);
  ASSERT_TRUE(Save(registry, list, where));
  EXPECT_EQ(LoadList(registry, where), list);

  list.hosts.erase(list.hosts.begin() + 1);
  list.checked.erase(list.checked.begin() + 1);
  list.hosts.push_back("added.example");
  list.checked.push_back(false);
  list.hosts.insert(list.hosts.begin(), "host9.example");  // duplicates are allowed
  list.checked.insert(list.checked.begin(), true);
  list.checked[5] = !list.checked[5];
  ASSERT_TRUE(Save(registry, list, where));
  EXPECT_EQ(LoadList(registry, where), list);
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(list));

  ServerList shorter{{"only.example"}, {false}};
  ASSERT_TRUE(Save(registry, shorter, where));
  EXPECT_EQ(LoadList(registry, where), shorter);
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(shorter)) << "no stale values behind";
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

TEST_P(ServerListStore, HostNamesComeBackExactlyAsStored) {
  const ServerCollection hosts{std::string(254, 'a'), std::string(255, 'b'), std::string(4000, 'c'),
                               "  leading.example",   "trailing.example  ",  "",
                               "\xe5\xe4\xf6.example"};  // Latin-1 letters, stored as bytes
  ASSERT_TRUE(SaveServers(registry, hosts, ListedMarks(), where));
  ServerCollection loaded;
  ASSERT_TRUE(LoadServers(registry, loaded, where));
  EXPECT_EQ(loaded, hosts);
  EXPECT_EQ(ReadServerValue(registry, "Server2", where), hosts[1]);
  EXPECT_EQ(ReadServerValue(registry, "Server4", where), hosts[3]);
}

TEST_P(ServerListStore, AValueWithNoDataOrANameTooLongForTheBufferLosesNothingBehindIt) {
  const std::string longName = "Server" + std::string(2100, 'x');
  fakes::WriteValues(registry, where.root, where.path,
                     {{"Server1", "first"}, {"Server2", ""}, {"Server3", "third"}});
  fakes::WriteValues(registry, where.root, where.path, {{longName, "long name"}});
  fakes::WriteValues(registry, where.root, where.path, {{"Server4", "fourth"}});
  ServerCollection servers;
  ASSERT_TRUE(LoadServers(registry, servers, where));
  EXPECT_EQ(servers, (ServerCollection{"first", "", "third", "fourth"}));
  EXPECT_EQ(ReadServerValue(registry, "Server2", where), "");
  EXPECT_EQ(ReadServerValue(registry, "Missing", where), "");
}

TEST_P(ServerListStore, TenThousandServersRoundTrip) {
  const ServerList list = NumberedList("server-", 10000);
  ASSERT_TRUE(Save(registry, list, where));
  EXPECT_EQ(LoadList(registry, where), list);
}

TEST_P(ServerListStore, DeletingAndCreatingTheKey) {
  EXPECT_TRUE(DeleteServersKey(registry, where)) << "a missing key is left alone";
  ASSERT_TRUE(CreateServersKey(registry, where));
  ServerCollection servers{"stale"};
  EXPECT_TRUE(LoadServers(registry, servers, where));
  EXPECT_TRUE(servers.empty()) << "an empty key is an empty list";

  ASSERT_TRUE(Save(registry, NumberedList("h", 3), where));
  ASSERT_TRUE(DeleteServersKey(registry, where));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path));
  EXPECT_EQ(ReadServerValue(registry, "Server1", where), "");
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

}  // namespace
}  // namespace vekhor::testing
