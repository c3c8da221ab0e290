// The process that server_save_kill_test kills in the middle of a save. It saves a known list
// through the real registry and, when asked, ends itself with TerminateProcess just before the
// k-th call that changes the registry, so what is left behind is what a real kill leaves.
//
//   save_kill_child <path below HKEY_CURRENT_USER> <list size> <k>
//
// k = 0 never kills. Exit codes: 77 killed, 0 saved (it then prints how many changing calls the
// save made), 1 bad arguments, 2 the save failed.
#include <windows.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "fakes/registry_fakes.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "servers/server_list.h"

namespace {

using vekhor::platform::Registry;

constexpr UINT kKilledExitCode = 77;

// Counts the calls that change the registry and dies before the k-th.
class KillingRegistry final : public vekhor::fakes::ForwardingRegistry {
 public:
  KillingRegistry(Registry& real, unsigned killBefore)
      : ForwardingRegistry(real), killBefore_(killBefore) {}

  unsigned MutatingCalls() const { return calls_; }

 private:
  std::int32_t BeforeChange() override {
    if (++calls_ == killBefore_) {
      std::fflush(stdout);
      ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
    }
    return vekhor::platform::kErrorSuccess;
  }

  unsigned killBefore_;
  unsigned calls_ = 0;
};

// The test expects exactly this list: "new<n>.example", checked unless n is a multiple of 3.
struct EveryThirdUnchecked final : vekhor::ServerCheckMarks {
  bool IsChecked(std::size_t index) const override { return (index + 1) % 3 != 0; }
};

bool ParseNumber(std::string_view text, unsigned& number) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  return !text.empty() && error == std::errc() && stop == end;
}

}  // namespace

int main(int argc, char** argv) {
  unsigned size = 0;
  unsigned killBefore = 0;
  if (argc != 4 || !ParseNumber(argv[2], size) || !ParseNumber(argv[3], killBefore)) {
    std::fprintf(stderr, "usage: save_kill_child <path below HKCU> <list size> <k>\n");
    return 1;
  }
  vekhor::ServerCollection servers;
  for (unsigned n = 1; n <= size; ++n) servers.push_back("new" + std::to_string(n) + ".example");

  const std::unique_ptr<Registry> system = vekhor::platform::MakeSystemRegistry();
  KillingRegistry registry(*system, killBefore);
  const vekhor::ServersLocation where{vekhor::platform::kHkeyCurrentUser, argv[1]};
  if (!vekhor::SaveServers(registry, servers, EveryThirdUnchecked(), where)) {
    std::printf("save failed after %u changing calls\n", registry.MutatingCalls());
    return 2;
  }
  std::printf("%u\n", registry.MutatingCalls());
  return 0;
}
