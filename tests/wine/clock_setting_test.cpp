// The whole exchange under Wine: fetch from the bundled server on port 37 and set the clock
// through the real SetSystemTime. Wine accepts a change under half a second without changing
// anything and refuses a larger one, so the host clock is never moved.
#include <gtest/gtest.h>

#include "fakes/headless_toolkit.h"
#include "net/tcpip.h"
#include "platform/clock.h"
#include "platform/system.h"
#include "support/time_server.h"
#include "sync/set_clock.h"

namespace vekhor {
namespace {

struct ClockSetting : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  fakes::HeadlessToolkit toolkit;
  fakes::HeadlessLabel status;

  void SetUp() override { VEKHOR_REQUIRE_TIME_SERVER(); }
  ClockChange FetchAndSet() {
    TCPIP tcpip(system->platform().sockets, system->platform().icmp, toolkit.Texts());
    const std::string answer = tcpip.SynchTime("127.0.0.1");
    EXPECT_EQ(answer.size(), 4u);
    return SetClock(answer, status, toolkit, system->platform().clock);
  }
};

TEST_F(ClockSetting, TheCorrectTimeSetsTheClockAndSaysSo) {
  EXPECT_EQ(FetchAndSet(), ClockChange::Set);
  EXPECT_EQ(status.caption.rfind("Clock synchronised succesfully ", 0), 0u) << status.caption;
  EXPECT_TRUE(toolkit.boxes.empty());
}

TEST_F(ClockSetting, ARefusedChangeIsReportedAsSuch) {
  EXPECT_EQ(FetchAndSet(), ClockChange::Refused);  // the server says 2004: Wine refuses the jump
  EXPECT_EQ(status.caption, CatalogueText(text::kClockNotSet, Language::English));
}

}  // namespace
}  // namespace vekhor
