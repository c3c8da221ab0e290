// The RFC 868 fetch through the real socket backend against the bundled server on port 37;
// ctest runs the server with one behaviour per entry and names it in VEKHOR_TIME_BEHAVIOUR.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>

#include "net/tcpip.h"
#include "platform/system.h"
#include "res/catalogue.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

TEST(Port37, EachServerBehaviourGivesItsAnswer) {
  const char* named = std::getenv("VEKHOR_TIME_BEHAVIOUR");
  if (named == nullptr) GTEST_SKIP() << "needs the bundled time server: run it through ctest";
  const std::string behaviour = named;
  const std::unique_ptr<platform::SystemPlatform> system = platform::MakeSystemPlatform();
  const auto fetch = [&system](Language language) {
    const CatalogueTexts texts(language);
    TCPIP tcpip(system->platform().sockets, system->platform().icmp, texts);
    return tcpip.SynchTime("localhost");
  };
  const std::string answer = fetch(Language::English);
  if (behaviour == "time") {
    ASSERT_TRUE(DecodeTimeAnswer(answer));
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr)) + 2208988800;
    EXPECT_NEAR(static_cast<double>(*TimeValue(answer)), static_cast<double>(now), 2.0);
    return;
  }
  if (behaviour == "split") {
    EXPECT_EQ(answer.size(), 2u) << "only the first piece";
    return;
  }
  const std::map<std::string, std::string> expected{
      {"bytes:000A0DFF", std::string("\x00\x0A\x0D\xFF", 4)},
      {"silence", ""},
      {"close", ""},  // not the refusal text
      {"flood", std::string(10000, 'A')},
      {"refuse", "Could not make connection"}};
  ASSERT_TRUE(expected.count(behaviour)) << "unknown behaviour " << behaviour;
  EXPECT_EQ(answer, expected.at(behaviour));
  if (behaviour == "refuse") {
    EXPECT_EQ(fetch(Language::Swedish), "Kunde inte skapa uppkoppling");
  }
}

}  // namespace
}  // namespace vekhor
