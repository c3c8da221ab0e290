// A save killed for real: save_kill_child saves a five-server list over a stored three-server
// list and ends itself with TerminateProcess before its k-th changing call, for every k. What the
// kill leaves in the real registry must load as one whole list, the old one or the new one, and
// once a save got far enough to load as new, a later kill must never bring the old list back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/registry_backends.h"
#include "servers/server_list.h"
#include "servers/server_list_test_support.h"

namespace vekhor::testing {
namespace {

constexpr DWORD kKilledExitCode = 77;

// What the child saves: "new<n>.example", every third one unchecked.
const ServerList kNewList = NumberedList("new", 5);
const ServerList kOldList = NumberedList("old", 3);
const ServerList kThirdList = NumberedList("third", 4);

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }
  void Reset() {
    if (handle_ != nullptr) ::CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_;
};

struct ChildResult {
  DWORD exitCode = 0;
  std::string output;
};

// Runs the child to its end (a minute at most) with its output collected through a pipe.
std::optional<ChildResult> RunChild(const ServersLocation& where, std::size_t size, unsigned k) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  OwnedHandle readEnd, writeEnd;
  if (!::CreatePipe(readEnd.out(), writeEnd.out(), &inherited, 0) ||
      !::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0)) {
    return std::nullopt;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  std::string commandLine = "\"" VEKHOR_SAVE_KILL_CHILD_PATH "\" \"" + where.path + "\" " +
                            std::to_string(size) + " " + std::to_string(k);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(VEKHOR_SAVE_KILL_CHILD_PATH, commandLine.data(), nullptr, nullptr, TRUE, 0,
                        nullptr, nullptr, &startup, &started)) {
    ADD_FAILURE() << "cannot start " VEKHOR_SAVE_KILL_CHILD_PATH ": error " << ::GetLastError();
    return std::nullopt;
  }
  const OwnedHandle process(started.hProcess);
  const OwnedHandle thread(started.hThread);
  writeEnd.Reset();  // the child holds the only write end: its exit ends the output

  ChildResult result;
  char buffer[512];
  DWORD got = 0;
  while (::ReadFile(readEnd.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    result.output.append(buffer, got);
  }
  if (::WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1);
    ADD_FAILURE() << "the child did not end";
    return std::nullopt;
  }
  if (!::GetExitCodeProcess(process.get(), &result.exitCode)) return std::nullopt;
  return result;
}

enum class Outcome { Old, New, Broken };

// One round: the old list stored, the child killed before its k-th changing call (never, for
// k = 0), then what a start of the program finds and whether it can save again.
Outcome KillAndInspect(unsigned k, DWORD expectedExit, unsigned* mutatingCalls = nullptr) {
  fakes::RegistryUnderTest place(fakes::RegistryBackend::System);
  platform::Registry& registry = place.registry();
  const ServersLocation& where = place.servers();
  // As an earlier version left it, without the code under test.
  fakes::WriteValues(registry, where.root, where.path, StoredForm(kOldList));
  const auto child = RunChild(where, kNewList.hosts.size(), k);
  if (!child) return Outcome::Broken;
  EXPECT_EQ(child->exitCode, expectedExit) << child->output;
  if (mutatingCalls != nullptr) {
    const char* end = child->output.data() + child->output.size();
    std::from_chars(child->output.data(), end, *mutatingCalls);
  }

  const ServerList loaded = LoadList(registry, where);
  Outcome outcome = Outcome::Broken;
  if (loaded == kOldList) outcome = Outcome::Old;
  if (loaded == kNewList) outcome = Outcome::New;
  EXPECT_NE(outcome, Outcome::Broken) << "loaded " << loaded.hosts.size() << " servers";
  // The key itself holds the loaded list in the stored form and nothing else.
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(loaded));

  EXPECT_TRUE(Save(registry, kThirdList, where));
  EXPECT_EQ(LoadList(registry, where), kThirdList);
  EXPECT_EQ(SortedValuesOf(registry, where), StoredForm(kThirdList));
  EXPECT_FALSE(fakes::KeyExists(registry, where.root, where.path + ".new"));
  return outcome;
}

TEST(ServerSaveKill, AKillAnywhereInASaveLeavesOneWholeListAndTheNextSaveWorks) {
  // A save without a kill, to learn how many changing calls a kill can land before.
  unsigned calls = 0;
  EXPECT_EQ(KillAndInspect(0, 0, &calls), Outcome::New);
  ASSERT_GT(calls, 2 * kNewList.hosts.size()) << "the child did not report its calls";

  std::vector<Outcome> outcomes;
  for (unsigned k = 1; k <= calls + 1; ++k) {
    SCOPED_TRACE("killed before changing call " + std::to_string(k) + " of " +
                 std::to_string(calls));
    outcomes.push_back(KillAndInspect(k, k <= calls ? kKilledExitCode : 0));
  }

  std::ostringstream summary;
  for (unsigned k = 1; k <= outcomes.size(); ++k) {
    const Outcome outcome = outcomes[k - 1];
    summary << " " << k << ":"
            << (outcome == Outcome::Old   ? "old"
                : outcome == Outcome::New ? "new"
                                          : "BROKEN");
  }
  std::cout << "full save: " << calls << " changing calls; by k:" << summary.str() << "\n";
  EXPECT_EQ(outcomes.front(), Outcome::Old) << "a kill before any change lost the old list";
  EXPECT_EQ(outcomes.back(), Outcome::New);
  const auto firstNew = std::find(outcomes.begin(), outcomes.end(), Outcome::New);
  EXPECT_TRUE(std::all_of(firstNew, outcomes.end(), [](Outcome o) { return o == Outcome::New; }))
      << "a later kill brought the old list back:" << summary.str();
}

}  // namespace
}  // namespace vekhor::testing
