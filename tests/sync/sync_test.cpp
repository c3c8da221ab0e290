// Synchronization over fakes: the checks before a server is asked, RFC 868 decoding, whole runs.
#include "sync/sync_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "net/tcpip.h"
#include "net/ws1.h"
#include "support/temp_folder.h"
#include "sync/reachability.h"
#include "sync/set_clock.h"
#include "sync/time_answer.h"

namespace vekhor {
namespace {

using namespace std::string_view_literals;

const std::string kApril2004("\xC4\x22\x60\x40"sv);

TEST(AddressText, PrivateRangesAreNotUsableAndTheFirstComponentIsTheLowestByte) {
  for (const char* usable : {"172.15.0.1", "172.32.0.1", "172.5.0.1", "100.1.2.3", "127.0.0.1",
                             "62.20.1.5", "192.169.0.1"}) {
    EXPECT_TRUE(IsUsableLocalAddress(usable)) << usable;
  }
  for (const char* unusable : {"172.16.0.1", "172.31.255.255", "172.200.0.1", "90.1.2.3",
                               "10.0.0.1", "169.254.1.1", "192.168.1.1"}) {
    EXPECT_FALSE(IsUsableLocalAddress(unusable)) << unusable;
  }
  EXPECT_EQ(DottedToAddress("192.168.1.10"), 0x0A01A8C0u);
  EXPECT_EQ(DottedToAddress("127.0.0.1"), 0x0100007Fu);
  EXPECT_EQ(DottedToAddress("256.1.2.3"), 0x03020100u);  // modulo 256
  EXPECT_EQ(DottedToAddress("1.2.3.4.5"), 0x04030201u);
  for (const char* no : {"1.2.3", "a.b.c.d", ""}) EXPECT_FALSE(DottedToAddress(no)) << no;
}

std::string Text(const platform::SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.milliseconds);
  return text;
}

// Only four bytes are an answer: the rows with no time are not.
TEST(TimeAnswer, FourBytesGiveTheirUtcTimeAndThoseBelowThe1921AnswerComeAfterThe2036Wrap) {
  const struct {
    std::string_view bytes;
    const char* utc;
  } answers[] = {
      {"\xA9\x49\x1C\x00"sv, "1990-01-01 00:00:00.000"},
      {"\xBC\x65\x8A\x80"sv, "2000-02-29 00:00:00.000"},  // a century year that is a leap year
      {"\xFF\xFF\xFF\xFF"sv, "2036-02-07 06:28:15.000"},
      {"\x29\x49\x1C\x00"sv, "1921-12-13 20:45:52.000"},  // the earliest before the wrap
      {"\x00\x00\x00\x00"sv, "2036-02-07 06:28:16.000"},
      {"\x00\x00\x00\x01"sv, "2036-02-07 06:28:17.000"},
      {"\x29\x49\x1B\xFF"sv, "2058-01-19 03:14:07.000"},  // the last after it
      {""sv, ""},
      {"\xC4\x22\x60\x40\x00"sv, ""},
  };
  for (const auto& [bytes, utc] : answers) {
    SCOPED_TRACE(bytes.size());
    const auto decoded = DecodeTimeAnswer(bytes);
    EXPECT_EQ(decoded ? Text(*decoded) : "", utc);
  }
  // Line feed, carriage return and blank are ordinary bytes, never text.
  EXPECT_EQ(TimeValue("\x00\x0A\x0D\x20"sv), 0x000A0D20u);
}

// An invalid answer shows a box unless unattended, when nobody could press OK; a time is set in
// UTC.
TEST(SetClock, SetsUtcOrShowsTheInvalidAnswerBoxUnlessUnattendedInItsLanguage) {
  for (const auto& [language, unattended] :
       {std::pair{Language::Swedish, false}, std::pair{Language::English, true}}) {
    fakes::HeadlessToolkit toolkit(language);
    fakes::RecordingClock clock;
    clock.nowOnceSet = "2004-04-10 12:00:00";
    fakes::HeadlessLabel status;
    const CatalogueTexts texts(language);
    EXPECT_EQ(SetClock(kApril2004.substr(0, 3), status, toolkit, clock, unattended),
              ClockChange::InvalidAnswer);
    EXPECT_TRUE(clock.set.empty());
    EXPECT_EQ(status.changes, 0);
    ASSERT_EQ(toolkit.boxes.size(), unattended ? 0u : 1u);
    ASSERT_EQ(SetClock(kApril2004, status, toolkit, clock, unattended), ClockChange::Set);
    ASSERT_EQ(clock.set.size(), 1u);
    EXPECT_EQ(Text(clock.set[0]), "2004-04-10 12:00:00.000");
    EXPECT_EQ(status.caption,
              texts.LoadResString(text::kClockSynchronised) + " 2004-04-10 12:00:00");
    ASSERT_EQ(toolkit.boxes.size(), unattended ? 0u : 1u) << "no box for a success";
    if (unattended) continue;
    EXPECT_EQ(toolkit.boxes[0].prompt, texts.LoadResString(text::kInvalidResponse));
    EXPECT_EQ(toolkit.boxes[0].style, toolkit::kMsgBoxCritical);
  }
}

enum Behaviour { Answers, Unchecked, NoEcho, Refuses };

// Each server answers from its own address; an address with no answer refuses the connection.
class ServerSockets : public fakes::FakeSockets {
 public:
  std::map<std::uint32_t, std::string> answers;
  int Connect(platform::SocketHandle s, const platform::SockAddrIn& address) override {
    connectError = answers.contains(address.address) ? 0 : platform::wsa::kEconnrefused;
    return FakeSockets::Connect(s, address);
  }
  int Recv(platform::SocketHandle s, char* buffer, int length, int flags) override {
    receiveData = answers.at(lastConnected.address);
    return FakeSockets::Recv(s, buffer, length, flags);
  }
};

// A window's worth of run inputs over fakes, with the log written to a folder of its own.
struct Scene : fakes::FakeOs<ServerSockets> {
  test::TempFolder folder;
  fakes::HeadlessToolkit toolkit;
  fakes::MemorySettings settings;
  EventLog log{settings, toolkit, clock, shell};
  fakes::HeadlessLabel lblStatus;
  fakes::HeadlessCheckBox chkInternetConnection;
  fakes::HeadlessCheckedList lstServer;
  std::optional<ServerCollection> servers{std::in_place};
  bool unloading = false;
  int hosts = 0;
  std::int64_t earliest = 0;  // seconds since 1900 before which no answer is a time

  Scene() {
    toolkit.appPath = folder.path();
    settings.SaveSetting(kSettingsApplication, kSettingsSection, "Log", "1");
    sockets.AddHost(sockets.hostName, {"62.20.1.5"});
    clock.now = "2004-04-10 13:59:58";
    clock.nowOnceSet = "2004-04-10 14:00:00";
    lblStatus.caption = "Clock synchronised succesfully 2004-04-10 13:00:00";
    chkInternetConnection.value = toolkit::kChecked;  // connected, whatever flags the query gives
  }
  struct Server {
    std::string name;
    Behaviour behaviour = Answers;
    std::string answer = kApril2004;
  };
  // Breaks what a run needs before it asks any server.
  void Disconnect() { connectivity.connected = false; }
  void DropLocalAddress() { sockets.hosts.erase(sockets.hostName); }
  void RefuseClockChange() { clock.setResult = platform::kErrorPrivilegeNotHeld; }
  void AddServer(const Server& server) {
    const std::string address = "127.0.0." + std::to_string(++hosts);
    sockets.AddHost(server.name, {address});
    if (server.behaviour != Refuses) sockets.answers[sockets.InetAddr(address)] = server.answer;
    if (server.behaviour == NoEcho) icmp.silent.insert(sockets.InetAddr(address));
    servers->push_back(server.name);
    lstServer.AddItem(server.name);
    lstServer.items.back().checked = server.behaviour != Unchecked;
  }
  SyncOutcome Sync(const std::string& server = "", bool unattended = false) {
    const std::function<bool()> closing = [this] { return unloading; };
    return Synchronize(server, {toolkit, platform, log, lblStatus, chkInternetConnection, lstServer,
                                *servers, closing, unattended, earliest});
  }
  // The logged messages, without their time stamps and the file's header.
  std::vector<std::string> Logged() const {
    std::ifstream in(log.LogPath(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      line = line.substr(line.find('\t') + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line != "Log file created") lines.push_back(line);
    }
    return lines;
  }
};

struct SyncRunTest : ::testing::Test, Scene {};

TEST_F(SyncRunTest, TheLocalAddressIsTheFirstUsableOfAtMostTwoEntries) {
  TCPIP tcpip{sockets, icmp, toolkit.Texts()};
  DropLocalAddress();
  EXPECT_EQ(tcpip.GetIPaddress(), "");
  const auto localAddressOf = [&](const std::vector<std::string>& addresses) {
    sockets.AddHost(sockets.hostName, addresses);
    return tcpip.GetIPaddress();
  };
  EXPECT_EQ(localAddressOf({"10.1.2.3", "62.20.1.5"}), "62.20.1.5");
  EXPECT_EQ(localAddressOf({"192.168.0.5", "10.0.0.7"}), "192.168.0.5");
  EXPECT_EQ(localAddressOf({"192.168.0.5", "10.0.0.7", "62.20.1.5"}), "192.168.0.5");
  EXPECT_EQ(localAddressOf({"169.254.7.7"}), "169.254.7.7");
  EXPECT_EQ(localAddressOf({"127.0.0.1"}), "127.0.0.1");
  EXPECT_EQ(localAddressOf({}), "");
  // A resolvable name is no help when the socket library does not start.
  sockets.AddHost(sockets.hostName, {"62.20.1.5"});
  sockets.startupResult = platform::wsa::kNotinitialised;
  EXPECT_EQ(tcpip.GetIPaddress(), "");
  EXPECT_EQ(sockets.StartupCount(), 0);
}

// A success is an answer even under a millisecond; every handle and start-up is released.
TEST_F(SyncRunTest, OnlyAnEchoReplyWithSuccessIsAnAnswer) {
  TCPIP tcpip{sockets, icmp, toolkit.Texts()};
  sockets.AddHost("time.example", {"127.0.0.1", "127.0.0.2"});
  const auto pingWith = [&](platform::EchoResult reply) {
    icmp.reply = reply;
    return tcpip.Ping("time.example");
  };
  EXPECT_EQ(pingWith({1, platform::kIpSuccess, 37}), 37);
  EXPECT_EQ(pingWith({1, platform::kIpSuccess, 0}), 1);
  EXPECT_EQ(icmp.lastDestination, 0x0100007Fu);  // the first address
  EXPECT_EQ(icmp.lastTimeoutMs, 200u);
  EXPECT_EQ(pingWith({1, platform::kIpDestHostUnreachable, 5}),
            -static_cast<std::int32_t>(platform::kIpDestHostUnreachable));
  EXPECT_EQ(pingWith({0, platform::kIpRequestTimedOut, 0}),
            -static_cast<std::int32_t>(platform::kIpRequestTimedOut));
  EXPECT_EQ(pingWith({0, 0, 0}), 0);
  EXPECT_EQ(icmp.opened, 5);
  EXPECT_EQ(icmp.closedHandles, 5);
  icmp.createFails = true;
  EXPECT_LE(pingWith({1, platform::kIpSuccess, 3}), 0);

  const int echoes = icmp.echoes;
  EXPECT_EQ(tcpip.Ping("no.such.host"), 0);
  EXPECT_EQ(icmp.echoes, echoes) << "an unresolvable server is not echoed";
  EXPECT_EQ(sockets.StartupCount(), 0);
}

TEST_F(SyncRunTest, AWalkLogsTheSilentCheckedServersThenSetsTheClockFromTheFirstAnswer) {
  AddServer({"silent.example", NoEcho});
  AddServer({"unchecked.example", Unchecked});
  AddServer({"time.example"});
  AddServer({"later.example"});
  EXPECT_EQ(Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(Logged(), (std::vector<std::string>{
                          "No response from silent.example", "Connected to time.example",
                          "Clock adjusted from 2004-04-10 13:59:58 to 2004-04-10 14:00:00"}));
  EXPECT_EQ(lblStatus.caption, "Clock synchronised succesfully 2004-04-10 14:00:00");
  ASSERT_EQ(clock.set.size(), 1u);
  EXPECT_EQ(icmp.echoes, 2);  // neither the unchecked entry nor the one after the answer
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);

  // A named server is the only one asked, checked or not; the walk is not tried.
  icmp.echoes = 0;
  EXPECT_EQ(Sync("unchecked.example"), SyncOutcome::ClockSet);
  EXPECT_EQ(icmp.echoes, 1);
  EXPECT_EQ(Logged().at(3), "Connected to unchecked.example");
}

// Unattended, as with /close: no message box either.
TEST(SyncRun, ARunThatSetsNoClockReplacesTheOldStatusAndLogsWhy) {
  const std::string noTime = "No time server gave the time.";
  const std::string offline = "You are not connected to Internet";
  const std::string noAddress = "No valid local IP address";
  const std::string refusal(CatalogueText(text::kClockNotSet, Language::English));
  struct Case {
    const char* name;
    std::vector<Scene::Server> servers;
    std::string status;
    int echoes;
    void (Scene::*arrange)() = nullptr;
    std::string named = "";
  };
  const Case cases[] = {
      {"not connected", {{"t.example"}}, offline, 0, &Scene::Disconnect},
      {"no local address", {{"t.example"}}, noAddress, 0, &Scene::DropLocalAddress},
      {"nothing checked", {{"t.example", Unchecked}}, noTime, 0},
      {"none answers the echo", {{"a.example", NoEcho}, {"b.example", NoEcho}}, noTime, 2},
      {"no answer is a time",
       {{"five.example", Answers, kApril2004 + '\0'}, {"none", Answers, ""}, {"refused", Refuses}},
       noTime,
       3},
      {"the named server fails", {{"t"}, {"named", Unchecked, ""}}, noTime, 1, nullptr, "named"},
      {"the clock refuses the change", {{"t.example"}}, refusal, 1, &Scene::RefuseClockChange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scene t;
    for (const Scene::Server& server : c.servers) t.AddServer(server);
    if (c.arrange != nullptr) (t.*c.arrange)();
    EXPECT_EQ(t.Sync(c.named, true),
              c.status == refusal ? SyncOutcome::Refused : SyncOutcome::NoTime);
    EXPECT_EQ(t.lblStatus.caption, c.status);
    ASSERT_FALSE(t.Logged().empty());
    EXPECT_EQ(t.Logged().back(), c.status);
    EXPECT_EQ(t.icmp.echoes, c.echoes);
    EXPECT_EQ(t.clock.now, "2004-04-10 13:59:58") << "the clock is as it was";
    EXPECT_TRUE(t.toolkit.boxes.empty());
  }
}

TEST_F(SyncRunTest, AnExitDuringTheWalkEndsItWithoutTouchingWhatTheWindowFreed) {
  AddServer({"silent.example", NoEcho});
  AddServer({"time.example"});
  // The echo of the first server posts the exit; it runs in the walk's next DoEvents.
  icmp.onEcho = [this] {
    toolkit.pending.push_back([this] {
      unloading = true;
      lstServer.Clear();
      servers.reset();
    });
  };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_EQ(icmp.echoes, 1);
  EXPECT_EQ(lblStatus.changes, 0);
  EXPECT_EQ(Logged(), std::vector<std::string>{"No response from silent.example"});
  EXPECT_TRUE(clock.set.empty());
  EXPECT_TRUE(sockets.open.empty());
  EXPECT_EQ(sockets.StartupCount(), 0);

  // A nested handler empties the list, the window stays: the walk reads no mark beyond its end.
  servers.emplace();
  AddServer({"silent.example", NoEcho});
  AddServer({"time.example"});
  unloading = false;
  icmp.onEcho = [this] { toolkit.pending.push_back([this] { lstServer.Clear(); }); };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_EQ(lblStatus.caption, "No time server gave the time.");
}

// A server whose clock was never set sends 1990, or nothing but zeros: the program cannot be
// running then. An entry whose name could not be read is empty, and the resolver would take it
// for this machine.
TEST_F(SyncRunTest, AnAnswerBeforeTheBuildDateOrAnEmptyNameIsPassedOverAndTheWalkGoesOn) {
  earliest = *SecondsSince1900(kApril2004);
  AddServer({"reset.example", Answers, std::string("\xA9\x49\x1C\x00"sv)});
  AddServer({"zero.example", Answers, std::string(4, '\0')});
  AddServer({"", Answers});
  sockets.AddHost("", {"62.20.1.5"});
  sockets.answers[sockets.InetAddr("62.20.1.5")] = kApril2004;
  AddServer({"time.example"});
  EXPECT_EQ(Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(Logged(), (std::vector<std::string>{
                          "Implausible time from reset.example",
                          "Implausible time from zero.example", "Connected to time.example",
                          "Clock adjusted from 2004-04-10 13:59:58 to 2004-04-10 14:00:00"}));
  EXPECT_EQ(icmp.echoes, 3) << "the empty name is never echoed";
  ASSERT_EQ(clock.set.size(), 1u);
  EXPECT_EQ(Text(clock.set[0]), "2004-04-10 12:00:00.000");
}

// The walk reads each mark live, but only while the entry still bears the name it is at: after
// a removal the marks belong to other servers, and the walk ends rather than ask an unchecked one.
TEST_F(SyncRunTest, AMarkChangedDuringTheWalkCountsAndARemovalEndsTheWalk) {
  AddServer({"silent.example", NoEcho});
  AddServer({"unchecked.example", Unchecked});
  AddServer({"time.example"});
  icmp.onEcho = [this] {
    toolkit.pending.push_back([this] {
      lstServer.RemoveItem(0);
      servers->erase(servers->begin());
    });
  };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_TRUE(clock.set.empty()) << "set from a server the user unchecked";
  EXPECT_EQ(icmp.echoes, 1);

  // Unchecked while the walk waits: passed over.
  lstServer.Clear();
  servers->clear();
  AddServer({"silent.example", NoEcho});
  AddServer({"time.example"});
  icmp.echoes = 0;
  icmp.onEcho = [this] { toolkit.pending.push_back([this] { lstServer.SetSelected(1, false); }); };
  EXPECT_EQ(Sync(), SyncOutcome::NoTime);
  EXPECT_EQ(icmp.echoes, 1);
  EXPECT_TRUE(clock.set.empty());
}

TEST_F(SyncRunTest, AWalkReachesACheckedEntryBeyond32767) {
  for (int n = 0; n < 39999; ++n) {
    servers->push_back("dead" + std::to_string(n) + ".example");
    lstServer.AddItem(servers->back());
  }
  AddServer({"last.example"});
  EXPECT_EQ(Sync(), SyncOutcome::ClockSet);
  EXPECT_EQ(Logged().at(0), "Connected to last.example");
}

}  // namespace
}  // namespace vekhor
