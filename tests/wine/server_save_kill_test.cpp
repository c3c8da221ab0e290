// A save killed for real: save_kill_child saves a five-server list over a stored three-server
// list and ends itself with TerminateProcess before its k-th changing call, for every k. What the
// kill leaves in the real registry must load as one whole list, the old one or the new one, and
// once a save got far enough to load as new, a later kill must never bring the old list back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"
#include "servers/server_list.h"

namespace vekhor {
namespace {

constexpr DWORD kKilledExitCode = 77;

// A list as stored: host names and their check marks ("-1" or "0").
struct StoredForm {
  std::vector<std::string> hosts;
  std::vector<std::string> marks;
  bool operator==(const StoredForm&) const = default;
};

void PrintTo(const StoredForm& list, std::ostream* out) {
  for (std::size_t i = 0; i < list.hosts.size(); ++i) {
    *out << " " << list.hosts[i] << "=" << (i < list.marks.size() ? list.marks[i] : "?");
  }
}

StoredForm Numbered(const std::string& prefix, std::size_t count, std::size_t uncheckedEvery) {
  StoredForm list;
  for (std::size_t n = 1; n <= count; ++n) {
    list.hosts.push_back(prefix + std::to_string(n) + ".example");
    list.marks.push_back(n % uncheckedEvery == 0 ? "0" : "-1");
  }
  return list;
}

// What the child saves: "new<n>.example", every third one unchecked.
const StoredForm kNewList = Numbered("new", 5, 3);
const StoredForm kOldList = Numbered("old", 3, 2);
const StoredForm kThirdList = Numbered("third", 4, 4);

struct MarksOf final : ServerCheckMarks {
  const StoredForm& list;
  explicit MarksOf(const StoredForm& of) : list(of) {}
  bool IsChecked(std::size_t index) const override { return list.marks.at(index) == "-1"; }
};

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

class OwnedHkey {
 public:
  OwnedHkey() = default;
  ~OwnedHkey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  OwnedHkey(const OwnedHkey&) = delete;
  OwnedHkey& operator=(const OwnedHkey&) = delete;
  HKEY get() const { return key_; }
  HKEY* out() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// A key of HKEY_CURRENT_USER for one round alone, removed with everything below it at the end.
class PrivateKey {
 public:
  // No parent shared with other tests but Software, which is never removed.
  PrivateKey() : base_(std::string(kParent) + UniqueName()) {}
  ~PrivateKey() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, base_.c_str());
  }
  PrivateKey(const PrivateKey&) = delete;
  PrivateKey& operator=(const PrivateKey&) = delete;

  ServersLocation Servers() const { return {platform::kHkeyCurrentUser, base_ + "\\Servers"}; }

 private:
  static constexpr const char* kParent = "Software\\VekhorTest-";
  static std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    return "kill-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::GetTickCount64()) + "-" + std::to_string(counter++);
  }
  std::string base_;
};

bool KeyExists(const std::string& path) {
  OwnedHkey key;
  return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

// Writes the list as earlier versions of the program left it, without the code under test.
bool StoreDirectly(const std::string& path, const StoredForm& list) {
  OwnedHkey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const auto set = [&](const std::string& name, const std::string& data) {
    return ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
  };
  for (std::size_t n = 1; n <= list.hosts.size(); ++n) {
    if (!set("Server" + std::to_string(n), list.hosts[n - 1]) ||
        !set("ServerChecked" + std::to_string(n), list.marks[n - 1])) {
      return false;
    }
  }
  return true;
}

using NamedValues = std::vector<std::pair<std::string, std::string>>;

// Every value of the key, sorted by name, or nothing when the key cannot be read.
std::optional<NamedValues> SortedValues(const std::string& path) {
  OwnedHkey key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  NamedValues values;
  for (DWORD index = 0;; ++index) {
    char name[256];
    BYTE data[1024];
    DWORD nameLength = sizeof name;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    const LONG status =
        ::RegEnumValueA(key.get(), index, name, &nameLength, nullptr, &type, data, &dataSize);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS || type != REG_SZ || dataSize == 0) return std::nullopt;
    values.emplace_back(std::string(name, nameLength),
                        std::string(reinterpret_cast<const char*>(data), dataSize - 1));
  }
  std::sort(values.begin(), values.end());
  return values;
}

NamedValues ExpectedValues(const StoredForm& list) {
  NamedValues values;
  for (std::size_t n = 1; n <= list.hosts.size(); ++n) {
    values.emplace_back("Server" + std::to_string(n), list.hosts[n - 1]);
    values.emplace_back("ServerChecked" + std::to_string(n), list.marks[n - 1]);
  }
  std::sort(values.begin(), values.end());
  return values;
}

// What the next start of the program shows: the loaded hosts and their stored marks.
std::optional<StoredForm> Load(platform::Registry& registry, const ServersLocation& where) {
  StoredForm list;
  if (!LoadServers(registry, list.hosts, where)) return std::nullopt;
  for (std::size_t n = 1; n <= list.hosts.size(); ++n) {
    list.marks.push_back(ReadServerValue(registry, "ServerChecked" + std::to_string(n), where));
  }
  return list;
}

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
  const PrivateKey key;
  const ServersLocation where = key.Servers();
  const std::string companion = where.path + ".new";
  if (!StoreDirectly(where.path, kOldList)) {
    ADD_FAILURE() << "cannot store the old list";
    return Outcome::Broken;
  }
  const auto child = RunChild(where, kNewList.hosts.size(), k);
  if (!child) return Outcome::Broken;
  EXPECT_EQ(child->exitCode, expectedExit) << child->output;
  if (mutatingCalls != nullptr) {
    const char* end = child->output.data() + child->output.size();
    std::from_chars(child->output.data(), end, *mutatingCalls);
  }

  const std::unique_ptr<platform::Registry> registry = platform::MakeSystemRegistry();
  const auto loaded = Load(*registry, where);
  if (!loaded) {
    ADD_FAILURE() << "nothing loads";
    return Outcome::Broken;
  }
  Outcome outcome = Outcome::Broken;
  if (*loaded == kOldList) outcome = Outcome::Old;
  if (*loaded == kNewList) outcome = Outcome::New;
  EXPECT_NE(outcome, Outcome::Broken) << "loaded " << loaded->hosts.size() << " servers";
  // The key itself holds the loaded list in the stored form and nothing else.
  EXPECT_EQ(SortedValues(where.path), ExpectedValues(*loaded));

  EXPECT_TRUE(SaveServers(*registry, kThirdList.hosts, MarksOf(kThirdList), where));
  EXPECT_EQ(Load(*registry, where), kThirdList);
  EXPECT_EQ(SortedValues(where.path), ExpectedValues(kThirdList));
  EXPECT_FALSE(KeyExists(companion));
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
}  // namespace vekhor
