// The connection class on scripted sockets: all it opens is closed and every failure recorded.
#include "net/tcpip.h"

#include <gmock/gmock.h>

#include "fakes/fake_platform.h"

namespace vekhor {
namespace {

struct Tcpip : ::testing::Test {
  fakes::FakeSockets sockets;
  fakes::FakeIcmp icmp;
  CatalogueTexts texts{Language::Swedish};  // the refusal comes in the user's language
  fakes::RecordingClock clock;
  TCPIP tcpip{sockets, icmp, texts, clock};

  void SetUp() override {
    sockets.AddHost(sockets.hostName, {"62.20.1.5"});
    sockets.AddHost("time.example", {"127.0.0.9", "127.0.0.10"});
    tcpip.LocalHostIP("127.0.0.1");
    tcpip.RemoteHostIP("127.0.0.1");
  }
};

TEST_F(Tcpip, SynchTimeGivesTheRawAnswerOrItsFailureAndLeavesNothingOpen) {
  const std::tuple<const char*, void (*)(fakes::FakeSockets&), std::string> cases[] = {
      {"answers", [](fakes::FakeSockets&) {}, std::string("\x00\x0A\x0D\xFF", 4)},
      {"refused", [](fakes::FakeSockets& s) { s.connectError = platform::wsa::kEconnrefused; },
       "Kunde inte skapa uppkoppling"},
      {"no socket", [](fakes::FakeSockets& s) { s.socketFails = true; },
       "Kunde inte skapa uppkoppling"},
      {"closed without data", [](fakes::FakeSockets& s) { s.receiveData.clear(); }, ""},
      {"silent", [](fakes::FakeSockets& s) { s.selectResult = 0; }, ""},
      {"select fails", [](fakes::FakeSockets& s) { s.selectResult = -1; }, ""},
      {"read fails", [](fakes::FakeSockets& s) { s.receiveFails = true; }, ""},
      {"unresolvable", [](fakes::FakeSockets& s) { s.hosts.erase("time.example"); }, ""},
      {"13056 zero bytes", [](fakes::FakeSockets& s) { s.receiveData = std::string(13056, '\0'); },
       std::string(10000, '\0')},
  };
  for (const auto& [name, script, expected] : cases) {
    SCOPED_TRACE(name);
    fakes::FakeSockets fresh = sockets;  // unused so far: only the hosts are set
    fresh.receiveData = std::string("\x00\x0A\x0D\xFF", 4);
    script(fresh);
    {
      TCPIP fetching(fresh, icmp, texts, clock);
      EXPECT_EQ(fetching.SynchTime("time.example"), expected);
      EXPECT_TRUE(fresh.open.empty());
    }
    EXPECT_EQ(fresh.StartupCount(), 0);
    // The one socket made, if any, is closed once: "no socket" never reaches close.
    const int made = fresh.hosts.count("time.example") && !fresh.socketFails ? 1 : 0;
    EXPECT_EQ(fresh.closed.size(), static_cast<std::size_t>(made));
    EXPECT_EQ(fresh.connects, made);
    if (made) {
      // Port 37 of the resolver's first address, from the local address.
      EXPECT_EQ(fresh.lastConnected.port, platform::HostToNetworkShort(37));
      EXPECT_EQ(fresh.lastConnected.address, 0x0900007Fu);
      EXPECT_EQ(fresh.lastBound.address, 0x0501143Eu);
    }
  }
}

// Handle 0 is standard input on POSIX: "no socket" must never reach close.
TEST_F(Tcpip, EverySocketIsClosedOnceAndEachFailedOpenReplacesTheLastRecord) {
  {
    TCPIP ending(sockets, icmp, texts, clock);
    ending.ShutdownConnection();
    ending.ShutdownConnection();
    EXPECT_TRUE(sockets.closed.empty());
    ending.LocalHostIP("127.0.0.1");
    ending.RemoteHostIP("127.0.0.1");
    ASSERT_TRUE(ending.OpenConnection());
  }
  EXPECT_EQ(sockets.closed.size(), 1u) << "the object's end closes what is still open";

  sockets.connectError = platform::wsa::kEconnrefused;
  EXPECT_FALSE(tcpip.OpenConnection());  // the failed attempt keeps its socket
  EXPECT_EQ(tcpip.LastErrorCode(), platform::wsa::kEconnrefused);  // its text: the loopback test
  EXPECT_EQ(sockets.open.size(), 1u);
  sockets.connectError = 0;
  EXPECT_TRUE(tcpip.OpenConnection()) << "a second open closes what the first left behind";
  EXPECT_EQ(sockets.open.size(), 1u);
  EXPECT_EQ(sockets.StartupCount(), 1);
  tcpip.RemoteHostIP("255.255.255.255");  // equals INADDR_NONE
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_THAT(tcpip.LastErrorText(),
              ::testing::StartsWith("Error in OpenConnection::inet_addr=INADDR_NONE\r\n"));
  sockets.startupResult = 10094;  // WSAStartup gives its error as its result
  EXPECT_FALSE(tcpip.OpenConnection());
  EXPECT_EQ(tcpip.LastErrorCode(), 10094);
  tcpip.ShutdownConnection();
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);
  EXPECT_EQ(sockets.closed, (std::vector<platform::SocketHandle>{0, 1, 2, 3}));
}

TEST_F(Tcpip, NameLookupListsAllAddressesAndKeepsThemWhenStartUpFails) {
  tcpip.NameLookup("time.example");
  EXPECT_EQ(tcpip.addresses(), (std::vector<std::string>{"127.0.0.9", "127.0.0.10"}));
  sockets.grantedInfo.version = 0x0001;  // 1.0 is too old
  tcpip.NameLookup("no.such.host");
  EXPECT_EQ(tcpip.addresses().size(), 2u);
  EXPECT_EQ(tcpip.LastStartupProblem(),
            "Windows Sockets Version 1.0 is Not supported by Windows Sockets For 32 bit Windows "
            "environments.");
  EXPECT_EQ(sockets.StartupCount(), 0);
}

// The texts reported come from the built-in catalogue: complete in both languages.
TEST(Catalogue, EveryNumberHasBothLanguagesAndSwedishIsOnlyForSwedishLocales) {
  for (int n = kFirstText; n <= kLastText; ++n) {
    EXPECT_FALSE(CatalogueText(n, Language::English).empty()) << n;
    EXPECT_FALSE(CatalogueText(n, Language::Swedish).empty()) << n;
  }
  EXPECT_TRUE(CatalogueText(kFirstText - 1, Language::English).empty());
  EXPECT_TRUE(CatalogueText(kLastText + 1, Language::Swedish).empty());
  EXPECT_EQ(CatalogueText(108, Language::Swedish), "Inst\xC3\xA4llningar");  // UTF-8
  for (const char* swedish : {"sv_SE.UTF-8", "sv_FI", "sv-SE", "sv"}) {
    EXPECT_EQ(LanguageOfLocale(swedish), Language::Swedish) << swedish;
  }
  for (const char* other : {"de_DE.UTF-8", "ja_JP", "en_US", "C", "", "svx", "POSIX"}) {
    EXPECT_EQ(LanguageOfLocale(other), Language::English) << other;
  }
}

}  // namespace
}  // namespace vekhor
