// The RFC 868 fetch through the real socket backend against the bundled server on port 37,
// one server behaviour per ctest entry (see CMakeLists.txt beside this file).
#include <gtest/gtest.h>

#include <ctime>

#include "fakes/fake_platform.h"
#include "fakes/fake_sockets.h"
#include "net/tcpip.h"
#include "platform/system.h"
#include "support/time_server.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

constexpr std::int64_t kUnixTo1900 = 2208988800;

struct Port37 : ::testing::Test {
  std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  fakes::CountingSockets sockets{system->platform().sockets};
  CatalogueTexts english{Language::English};

  std::string Fetch(const std::string& server, const TextSource& texts) {
    TCPIP tcpip(sockets, system->platform().icmp, texts);
    return tcpip.SynchTime(server);
  }
  std::string Fetch(const std::string& server = "127.0.0.1") { return Fetch(server, english); }

  void SetUp() override { VEKHOR_REQUIRE_TIME_SERVER(); }
  void TearDown() override {
    EXPECT_TRUE(sockets.open.empty());
    EXPECT_EQ(sockets.StartupCount(), 0);
  }
};

TEST_F(Port37, CorrectTimeIsFourBytesOfTheCurrentTime) {
  const std::string answer = Fetch("localhost");
  ASSERT_EQ(answer.size(), 4u);
  ASSERT_TRUE(DecodeTimeAnswer(answer));
  const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr)) + kUnixTo1900;
  EXPECT_NEAR(static_cast<double>(*TimeValue(answer)), static_cast<double>(now), 2.0);
}

TEST_F(Port37, GivenBytesArriveUnchanged) {
  EXPECT_EQ(Fetch(), std::string("\x00\x0A\x0D\xFF", 4));
}

TEST_F(Port37, SilenceGivesAnEmptyResult) {
  EXPECT_EQ(Fetch(), "");
}

TEST_F(Port37, CloseWithoutDataGivesAnEmptyResultNotTheRefusal) {
  EXPECT_EQ(Fetch(), "");
}

TEST_F(Port37, MoreThan10000BytesGiveTheFirst10000) {
  const std::string answer = Fetch();
  EXPECT_EQ(answer.size(), 10000u);
}

TEST_F(Port37, ASplitAnswerGivesOnlyItsFirstPiece) {
  EXPECT_EQ(Fetch().size(), 2u);
}

TEST_F(Port37, ARefusedConnectionGivesExactlyTheRefusalTextOfTheLanguage) {
  EXPECT_EQ(Fetch(), "Could not make connection");
  const CatalogueTexts swedish(Language::Swedish);
  EXPECT_EQ(Fetch("127.0.0.1", swedish), "Kunde inte skapa uppkoppling");
}

TEST_F(Port37, AnUnresolvableNameMakesNoConnectionAttempt) {
  sockets.unresolvable.insert("time.invalid");
  EXPECT_EQ(Fetch("time.invalid"), "");
  EXPECT_EQ(sockets.connects, 0);
}

}  // namespace
}  // namespace vekhor
