// The clock label's date-time text in the user's regional forms, which Wine takes from LANG.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "platform/win32/win_clock.h"

namespace vekhor {
namespace {

TEST(DateTimeText, FollowsTheRegionalFormsAndDropsMidnight) {
  const char* region = std::getenv("VEKHOR_EXPECTED_REGION");
  if (region == nullptr) GTEST_SKIP() << "run through ctest, which sets the locale";
  // An afternoon, and the midnight that the text shows as the date alone.
  const std::map<std::string, std::pair<std::string, std::string>> expected = {
      {"en", {"12/7/2026 3:04:05 PM", "12/7/2026"}},
      {"sv", {"2026-12-07 15:04:05", "2026-12-07"}},
      // Windows writes the German day with two digits, Wine with one.
      {"de", {"0?7\\.12\\.2026 15:04:05", "0?7\\.12\\.2026"}},
  };
  const auto& [afternoon, midnight] = expected.at(region);
  using ::testing::MatchesRegex;
  EXPECT_THAT(platform::DateTimeText({2026, 12, 1, 7, 15, 4, 5, 0}), MatchesRegex(afternoon));
  EXPECT_THAT(platform::DateTimeText({2026, 12, 1, 7, 0, 0, 0, 0}), MatchesRegex(midnight));
  // One second past midnight is a time like any other.
  EXPECT_THAT(platform::DateTimeText({2026, 12, 1, 7, 0, 0, 1, 0}),
              ::testing::Not(MatchesRegex(midnight)));
}

}  // namespace
}  // namespace vekhor
