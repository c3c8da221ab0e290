// The server list as the user sees and stores it, and a fixture running on every registry backend.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/registry_backends.h"

namespace vekhor::testing {

struct ListedMarks final : ServerCheckMarks {
  std::vector<bool> checked;
  explicit ListedMarks(std::vector<bool> marks = {}) : checked(std::move(marks)) {}
  bool IsChecked(std::size_t index) const override {
    return index < checked.size() ? checked[index] : true;
  }
};

struct ServerList {
  ServerCollection hosts;
  std::vector<bool> checked;
  bool operator==(const ServerList&) const = default;
};

inline void PrintTo(const ServerList& list, std::ostream* out) {
  *out << ::testing::PrintToString(list.hosts) << " checked "
       << ::testing::PrintToString(list.checked);
}

inline ServerList NumberedList(const std::string& prefix, std::size_t count) {
  ServerList list;
  for (std::size_t i = 1; i <= count; ++i) {
    list.hosts.push_back(prefix + std::to_string(i) + ".example");
    list.checked.push_back(i % 3 != 0);
  }
  return list;
}

inline bool Save(platform::Registry& registry, const ServerList& list,
                 const ServersLocation& where) {
  return SaveServers(registry, list.hosts, ListedMarks(list.checked), where);
}

// What the next start shows: the loaded hosts and their stored marks (missing ones are checked).
inline ServerList LoadList(platform::Registry& registry, const ServersLocation& where) {
  ServerList list;
  LoadServers(registry, list.hosts, where);
  for (std::size_t n = 1; n <= list.hosts.size(); ++n) {
    list.checked.push_back(ReadServerValue(registry, "ServerChecked" + std::to_string(n), where) !=
                           "0");
  }
  return list;
}

// The Servers key exactly as older versions read it, in name order.
inline fakes::NamedValues StoredForm(const ServerList& list) {
  fakes::NamedValues values;
  for (std::size_t n = 1; n <= list.hosts.size(); ++n) {
    values.emplace_back("Server" + std::to_string(n), list.hosts[n - 1]);
    values.emplace_back("ServerChecked" + std::to_string(n), list.checked[n - 1] ? "-1" : "0");
  }
  std::sort(values.begin(), values.end());
  return values;
}

inline fakes::NamedValues SortedValuesOf(platform::Registry& registry,
                                         const ServersLocation& where) {
  auto values = fakes::ValuesOf(registry, where.root, where.path);
  std::sort(values.begin(), values.end());
  return values;
}

class ServerListStore : public ::testing::TestWithParam<fakes::RegistryBackend> {
 protected:
  void TearDown() override {
    if (const auto* memory = dynamic_cast<platform::MemoryRegistry*>(&registry)) {
      EXPECT_EQ(memory->OpenHandles(), 0u) << "a key was left open";
    }
  }
  fakes::RegistryUnderTest under{GetParam()};
  platform::Registry& registry = under.registry();
  const ServersLocation& where = under.servers();
};

inline std::string BackendParamName(const ::testing::TestParamInfo<fakes::RegistryBackend>& info) {
  static const char* const kNames[] = {"MemoryInCreationOrder", "MemoryByName", "System"};
  return kNames[static_cast<int>(info.param)];
}

}  // namespace vekhor::testing
