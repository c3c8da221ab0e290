#include "sync/ask_guard.h"

#include <iterator>

namespace vekhor {

bool AskGuard::MayAsk(const std::string& address, std::int64_t nowUs) const {
  const auto found = lastAsked_.find(address);
  return found == lastAsked_.end() || nowUs - found->second >= kMinimumGapUs;
}

void AskGuard::Asked(const std::string& address, std::int64_t nowUs) {
  // Only questions within the gap matter: the rest are forgotten, so the record stays small.
  for (auto it = lastAsked_.begin(); it != lastAsked_.end();) {
    it = nowUs - it->second >= kMinimumGapUs ? lastAsked_.erase(it) : std::next(it);
  }
  lastAsked_[address] = nowUs;
}

}  // namespace vekhor
