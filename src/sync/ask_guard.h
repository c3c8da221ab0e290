// Time servers turn away a client that asks one address again within 4 s (NIST's do), and the
// program's runs can meet: the button, the window's activation, the hourly timer. The guard
// keeps the times of the last questions for the life of the process.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace vekhor {

class AskGuard {
 public:
  static constexpr std::int64_t kMinimumGapUs = 4000000;

  // Whether `address` may be asked at `nowUs` (monotonic).
  bool MayAsk(const std::string& address, std::int64_t nowUs) const;
  void Asked(const std::string& address, std::int64_t nowUs);

 private:
  std::map<std::string, std::int64_t> lastAsked_;
};

}  // namespace vekhor
