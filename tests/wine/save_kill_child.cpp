// The process server_save_kill_test kills mid-save: `save_kill_child <path below HKCU> <k>` saves
// NumberedList("new", 5) through the real registry and ends itself with TerminateProcess just
// before the k-th call that changes it (never, for k = 0), as a real kill would. Its exit status
// is the number of changing calls of a whole save, else kKilled or kFailed.
#include <windows.h>

#include <memory>
#include <string>

#include "fakes/registry_fakes.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "servers/server_list_test_support.h"

namespace {

constexpr UINT kKilled = 1000;
constexpr int kFailed = 1001;

class KillingRegistry final : public vekhor::fakes::ForwardingRegistry {
 public:
  KillingRegistry(vekhor::platform::Registry& real, unsigned killBefore)
      : ForwardingRegistry(real), killBefore_(killBefore) {}
  unsigned calls = 0;

 private:
  std::int32_t BeforeChange() override {
    if (++calls == killBefore_) ::TerminateProcess(::GetCurrentProcess(), kKilled);
    return vekhor::platform::kErrorSuccess;
  }
  unsigned killBefore_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return kFailed;
  const std::unique_ptr<vekhor::platform::Registry> system = vekhor::platform::MakeSystemRegistry();
  KillingRegistry registry(*system, static_cast<unsigned>(std::stoul(argv[2])));
  const vekhor::ServersLocation where{vekhor::platform::kHkeyCurrentUser, argv[1]};
  if (!vekhor::testing::Save(registry, vekhor::testing::NumberedList("new", 5), where))
    return kFailed;
  return static_cast<int>(registry.calls);
}
