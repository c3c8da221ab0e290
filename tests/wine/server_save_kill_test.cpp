// A save killed for real before its k-th registry change, for every k: what is left must load as
// one whole list, the old or the new, and once a kill left the new one, no later kill the old.
#include <memory>

#include "fakes/registry_backends.h"
#include "fakes/registry_fakes.h"
#include "platform/system.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"
#include "support/program.h"

namespace vekhor::testing {
namespace {

constexpr UINT kKilled = 1000;  // the child's exit status when it ended itself
const ServerList kNewList = NumberedList("new", 5);
const ServerList kOldList = NumberedList("old", 3);
const ServerList kThirdList = NumberedList("third", 4);

// Counts the calls that change the registry and ends the process before the killBefore-th.
struct KillingRegistry final : fakes::ForwardingRegistry {
  using ForwardingRegistry::ForwardingRegistry;
  std::int32_t BeforeChange() override {
    if (++calls == killBefore) ::TerminateProcess(::GetCurrentProcess(), kKilled);
    return platform::kErrorSuccess;
  }
  unsigned killBefore = 0, calls = 0;
};

// The child: this test again, with VEKHOR_SAVE_KILL saying "<k> <path below HKCU>". It saves
// kNewList through the real registry and ends itself before its k-th changing call (never, for
// k = 0), else exits with the number of changing calls.
void BeTheChild(const char* job) {
  const std::unique_ptr<platform::Registry> system = platform::MakeSystemRegistry();
  KillingRegistry registry(*system);
  registry.killBefore = static_cast<unsigned>(std::strtoul(job, nullptr, 10));
  const ServersLocation where{platform::kHkeyCurrentUser, std::strchr(job, ' ') + 1};
  std::exit(Save(registry, kNewList, where) ? static_cast<int>(registry.calls) : -1);
}

// One round with the old list stored and a kill before the k-th changing call: what a start of
// the program then loads ('O'ld, 'N'ew or 'B'roken), and whether it can save again.
char KillAndInspect(unsigned k, DWORD& status) {
  fakes::RegistryUnderTest place(fakes::RegistryBackend::System);
  platform::Registry& registry = place.registry();
  const ServersLocation& where = place.servers();
  fakes::WriteValues(registry, where.root, where.path, StoredForm(kOldList));
  char self[MAX_PATH + 1] = "\"";  // this program, quoted
  ::GetModuleFileNameA(nullptr, self + 1, MAX_PATH);
  ::SetEnvironmentVariableA("VEKHOR_SAVE_KILL", (std::to_string(k) + " " + where.path).c_str());
  status = RunToEnd(std::string(self) + "\" --gtest_filter=ServerSaveKill.*");

  const ServerList loaded = LoadList(registry, where);
  const char outcome = loaded == kOldList ? 'O' : loaded == kNewList ? 'N' : 'B';
  EXPECT_NE(outcome, 'B') << ::testing::PrintToString(loaded);
  // The key holds the loaded list in the stored form and nothing else.
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(loaded));

  EXPECT_TRUE(Save(registry, kThirdList, where));
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(kThirdList));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  return outcome;
}

TEST(ServerSaveKill, AKillAnywhereInASaveLeavesOneWholeListAndTheNextSaveWorks) {
  if (const char* job = std::getenv("VEKHOR_SAVE_KILL")) BeTheChild(job);
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
  EXPECT_EQ(outcomes.front(), 'O') << "a kill before any change lost the old list: " << outcomes;
  EXPECT_EQ(outcomes.back(), 'N');
  EXPECT_EQ(outcomes.find_first_not_of('N', outcomes.find('N')), std::string::npos)
      << "a later kill brought the old list back: " << outcomes;
}

}  // namespace
}  // namespace vekhor::testing
