// A save killed for real: save_kill_child saves a five-server list over a stored three-server
// list and ends itself before its k-th changing call, for every k. What the kill leaves in the
// real registry must load as one whole list, the old or the new, and once a kill left the new
// list, no later kill may bring the old one back.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "fakes/registry_backends.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"
#include "support/program.h"

namespace vekhor::testing {
namespace {

constexpr DWORD kKilled = 1000;  // save_kill_child's status when it ended itself
const ServerList kNewList = NumberedList("new", 5);
const ServerList kOldList = NumberedList("old", 3);
const ServerList kThirdList = NumberedList("third", 4);

DWORD RunChild(const ServersLocation& where, unsigned k) {
  const PROCESS_INFORMATION child = StartProcess("\"" VEKHOR_SAVE_KILL_CHILD_PATH "\" \"" +
                                                 where.path + "\" " + std::to_string(k));
  const DWORD status = WaitForExit(child.hProcess);
  if (status == STILL_ACTIVE) ::TerminateProcess(child.hProcess, 0);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  return status;
}

// One round with the old list stored and a kill before the k-th changing call: what a start of
// the program then loads ('O'ld, 'N'ew or 'B'roken), and whether it can save again.
char KillAndInspect(unsigned k, DWORD& status) {
  fakes::RegistryUnderTest place(fakes::RegistryBackend::System);
  platform::Registry& registry = place.registry();
  const ServersLocation& where = place.servers();
  fakes::WriteValues(registry, where.root, where.path, StoredForm(kOldList));
  status = RunChild(where, k);

  const ServerList loaded = LoadList(registry, where);
  const char outcome = loaded == kOldList ? 'O' : loaded == kNewList ? 'N' : 'B';
  EXPECT_NE(outcome, 'B') << ::testing::PrintToString(loaded);
  // The key holds the loaded list in the stored form and nothing else.
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(loaded));

  EXPECT_TRUE(Save(registry, kThirdList, where));
  EXPECT_EQ(LoadList(registry, where), kThirdList);
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(kThirdList));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  return outcome;
}

TEST(ServerSaveKill, AKillAnywhereInASaveLeavesOneWholeListAndTheNextSaveWorks) {
  // A save without a kill, to learn how many changing calls a kill can land before.
  DWORD calls = 0;
  EXPECT_EQ(KillAndInspect(0, calls), 'N');
  ASSERT_TRUE(calls != STILL_ACTIVE && calls < kKilled) << "the child failed: " << calls;
  ASSERT_GT(calls, 2 * kNewList.hosts.size());

  std::string outcomes;
  for (unsigned k = 1; k <= calls + 1; ++k) {
    SCOPED_TRACE("killed before changing call " + std::to_string(k) + " of " +
                 std::to_string(calls));
    DWORD status = 0;
    outcomes += KillAndInspect(k, status);
    EXPECT_EQ(status, k <= calls ? kKilled : calls);
  }
  std::cout << "outcomes by k = 1.." << outcomes.size() << ": " << outcomes << "\n";
  EXPECT_EQ(outcomes.front(), 'O') << "a kill before any change lost the old list";
  EXPECT_EQ(outcomes.back(), 'N');
  EXPECT_EQ(outcomes.find_first_not_of('N', outcomes.find('N')), std::string::npos)
      << "a later kill brought the old list back: " << outcomes;
}

}  // namespace
}  // namespace vekhor::testing
