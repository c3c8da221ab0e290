// A window's worth of run inputs over the fakes: servers placed on the fake network by name, a
// log written to a folder of its own, and the fake time that the network moves on.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"
#include "support/temp_folder.h"
#include "sync/sync_run.h"
#include "sync/utc_time.h"

namespace vekhor::test {

// The four bytes of RFC 868 for the second an instant (microseconds since 1900) lies in.
inline std::string TimeBytes(std::int64_t us) {
  const auto value = static_cast<std::uint32_t>(us / 1000000);
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

// An NTP timestamp written the plain way, for the fake servers: whole seconds, then the fraction.
inline std::string NtpBytes(std::int64_t us) {
  const auto seconds = static_cast<std::uint32_t>(us / 1000000);
  const auto fraction =
      static_cast<std::uint32_t>((static_cast<std::uint64_t>(us % 1000000) << 32) / 1000000);
  std::string bytes;
  for (const std::uint32_t word : {seconds, fraction})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(word >> shift);
  return bytes;
}

// A server's SNTP reply to `request` with its clock at `serverUs`, then changed by `edit`.
inline std::string SntpReplyTo(const std::string& request, std::int64_t serverUs,
                               const std::function<void(std::string&)>& edit = {}) {
  std::string reply(48, '\0');
  reply[0] = static_cast<char>(0 << 6 | 4 << 3 | 4);  // no leap second, version 4, server
  reply[1] = 2;                                       // stratum
  reply.replace(24, 8, request.substr(40, 8));        // origin: the request's transmit
  reply.replace(32, 8, NtpBytes(serverUs));           // received
  reply.replace(40, 8, NtpBytes(serverUs));           // sent
  if (edit) edit(reply);
  return reply;
}

enum Behaviour {
  Answers,    // the Time protocol, from a correct clock
  Unchecked,  // as Answers, but its list entry is not checked
  NoEcho,     // drops the echo, answers otherwise
  Refuses,    // nothing on port 37, nothing on UDP
  SntpOnly,   // nothing on port 37, a correct SNTP server
  Dead,       // drops the echo, TCP and UDP: a server behind a firewall, or no host at all
};

class Scene : public fakes::FakeOs<> {
 public:
  TempFolder folder;
  fakes::HeadlessToolkit toolkit;
  fakes::MemorySettings settings;
  EventLog log{settings, toolkit, clock, shell};
  fakes::HeadlessLabel lblStatus;
  fakes::HeadlessCheckBox chkInternetConnection;
  fakes::HeadlessCheckedList lstServer;
  std::optional<ServerCollection> servers{std::in_place};
  AskGuard guard;
  bool unloading = false;
  int hosts = 0;
  // A month before the fake time starts.
  std::int64_t buildDay = fakes::kFakeTrueStartUs / 1000000 - 30 * 86400;

  Scene() {
    toolkit.appPath = folder.path();
    settings.SaveSetting(kSettingsApplication, kSettingsSection, "Log", "1");
    sockets.AddHost(sockets.hostName, {"62.20.1.5"});
    clock.now = "2026-12-01 13:59:58";
    clock.nowOnceSet = "2026-12-01 14:00:00";
    clock.microsecondsOf = MicrosecondsOf;
    // The servers answer half a second into a second (an echo, a connect and the answer's
    // flight take 4 ms), and the local clock is 7 s slow.
    icmp.reply.roundTripMs = 1;
    clock.time.trueUs = fakes::kFakeTrueStartUs + 496000;
    clock.time.localErrorUs = -7000000;
    lblStatus.caption = "Clock synchronised succesfully 2026-11-30 13:00:00";
    chkInternetConnection.value = toolkit::kChecked;  // connected, whatever flags the query gives
  }
  struct Server {
    std::string name;
    Behaviour behaviour = Answers;
    std::optional<std::string> answer = std::nullopt;  // fixed bytes on port 37 instead of the time
  };
  // Breaks what a run needs before it asks any server.
  void Disconnect() { connectivity.connected = false; }
  void DropLocalAddress() { sockets.hosts.erase(sockets.hostName); }
  void RefuseClockChange() { clock.setResult = platform::kErrorPrivilegeNotHeld; }
  fakes::FakePeer& AddServer(const Server& server) {
    const std::string address = "127.0.0." + std::to_string(++hosts);
    sockets.AddHost(server.name, {address});
    fakes::FakePeer& peer = sockets.Peer(address);
    if (server.answer) {
      peer.timeAnswer = [bytes = *server.answer](std::int64_t) { return bytes; };
    } else {
      peer.timeAnswer = TimeBytes;
    }
    if (server.behaviour == Refuses || server.behaviour == SntpOnly) {
      peer.tcp = fakes::FakePeer::Tcp::Refuses;
    }
    if (server.behaviour == Dead) peer.tcp = fakes::FakePeer::Tcp::Drops;
    if (server.behaviour == SntpOnly) {
      peer.udp = [](const std::string& request, std::int64_t serverUs) {
        return std::optional<std::string>(SntpReplyTo(request, serverUs));
      };
    }
    if (server.behaviour == NoEcho || server.behaviour == Dead) {
      icmp.silent.insert(sockets.InetAddr(address));
    }
    servers->push_back(server.name);
    lstServer.AddItem(server.name);
    lstServer.items.back().checked = server.behaviour != Unchecked;
    return peer;
  }
  SyncOutcome Sync(const std::string& server = "") {
    const std::function<bool()> closing = [this] { return unloading; };
    return Synchronize(server, {toolkit, platform, log, lblStatus, chkInternetConnection, lstServer,
                                *servers, closing, buildDay, guard});
  }
  // How far from `server`'s clock the last change put the local clock.
  std::int64_t LandedOffByUs(const fakes::FakePeer& server) const {
    return MicrosecondsOf(clock.set.back()) - (clock.trueUsAtSet.back() + server.clockOffsetUs);
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

}  // namespace vekhor::test
