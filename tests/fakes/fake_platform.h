// Fakes of the small platform seams and the settings store, bundled as the program's platform.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/fake_sockets.h"
#include "fakes/fake_time.h"
#include "platform/clock.h"
#include "platform/connectivity.h"
#include "platform/icmp.h"
#include "platform/memory/memory_registry.h"
#include "platform/notify_icon.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "servers/settings_store.h"

namespace vekhor::fakes {

// Every address answers with `reply` but the silent ones, which time out, and the far ones, whose
// reply takes as long as they say; the fake time moves on by what each echo takes.
class FakeIcmp : public platform::Icmp {
 public:
  platform::EchoResult reply{1, platform::kIpSuccess, 12};
  std::set<std::uint32_t> silent;
  std::map<std::uint32_t, std::uint32_t> roundTripMs;
  FakeTime* time = nullptr;
  std::function<void()> onEcho;  // runs at every echo, as a window event might meanwhile
  bool createFails = false;
  int opened = 0;
  int closedHandles = 0;
  int echoes = 0;
  std::uint32_t lastDestination = 0;
  std::uint32_t lastTimeoutMs = 0;

  platform::IcmpHandle CreateFile() override {
    return createFails ? platform::kInvalidIcmpHandle : ++opened;
  }
  platform::EchoResult SendEcho(platform::IcmpHandle handle, std::uint32_t destination,
                                const std::string& /*data*/, std::uint32_t timeoutMs) override {
    ++echoes;
    lastDestination = destination;
    lastTimeoutMs = timeoutMs;
    if (onEcho) onEcho();
    if (handle == platform::kInvalidIcmpHandle) return {0, 0, 0};
    const auto far = roundTripMs.find(destination);
    const std::uint32_t takes = far != roundTripMs.end() ? far->second : reply.roundTripMs;
    if (silent.contains(destination) || takes > timeoutMs) {
      if (time != nullptr) time->Advance(std::int64_t{timeoutMs} * 1000);
      return {0, platform::kIpRequestTimedOut, 0};
    }
    if (time != nullptr) time->Advance(std::int64_t{takes} * 1000);
    platform::EchoResult answered = reply;
    answered.roundTripMs = takes;
    return answered;
  }
  bool CloseHandle(platform::IcmpHandle) override { return ++closedHandles > 0; }
};

class FakeConnectivity : public platform::Connectivity {
 public:
  bool connected = true;
  bool InternetGetConnectedState(std::uint32_t& flags) override {
    flags = 0;
    return connected;
  }
};

// Never touches the machine's clock: it records what it was asked to set, and a change it takes
// becomes the fake time's local clock.
class RecordingClock : public platform::Clock {
 public:
  std::uint32_t setResult = 0;
  std::vector<platform::SystemTime> set;
  std::vector<std::int64_t> trueUsAtSet;  // the true time at each change asked for
  std::string now = "2004-04-10 14:00:00";
  std::string nowOnceSet;  // if not empty, what `now` becomes when a change succeeds
  FakeTime time;
  // Microseconds since 1900 of a SYSTEMTIME; the tests give the conversion.
  std::function<std::int64_t(const platform::SystemTime&)> microsecondsOf;

  std::uint32_t SetSystemTime(const platform::SystemTime& utc) override {
    set.push_back(utc);
    trueUsAtSet.push_back(time.trueUs);
    if (setResult == 0 && !nowOnceSet.empty()) now = nowOnceSet;
    if (setResult == 0 && microsecondsOf) time.localErrorUs = microsecondsOf(utc) - time.trueUs;
    return setResult;
  }
  // 1601 to 1900: 109207 days.
  std::int64_t PreciseFileTime() override {
    return (time.LocalUs() + 109207LL * 86400 * 1000000) * 10;
  }
  std::int64_t MonotonicMicroseconds() override { return time.monotonicUs; }
  std::string NowText() override { return now; }
  std::string DateText() override { return now.substr(0, now.find(' ')); }
};

class RecordingShell : public platform::Shell {
 public:
  struct Call {
    platform::WindowHandle owner;
    std::string verb, file, parameters, directory;
    int show;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  std::intptr_t Execute(platform::WindowHandle owner, const std::string& verb,
                        const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override {
    calls.push_back({owner, verb, file, parameters, directory, show});
    return 42;
  }

  // The run as administrator: how it goes, and what happens in the window while it lasts.
  platform::ElevatedRun elevated;
  std::function<void()> duringElevatedRun;
  std::vector<std::string> elevatedRuns;  // their arguments
  platform::ElevatedRun RunSelfAsAdministrator(platform::WindowHandle, const std::string& arguments,
                                               const std::function<bool()>& whileWaiting) override {
    elevatedRuns.push_back(arguments);
    if (duringElevatedRun) duringElevatedRun();
    if (!whileWaiting()) return {platform::ElevatedRun::Outcome::Abandoned};
    return elevated;
  }
};

class MemorySettings : public SettingsStore {
 public:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::string GetSetting(const std::string& application, const std::string& section,
                         const std::string& key, const std::string& defaultValue) override {
    const auto found = values.find({application, section, key});
    return found == values.end() ? defaultValue : found->second;
  }
  bool SaveSetting(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) override {
    values[{application, section, key}] = value;
    return true;
  }
};

// The notification area: records every request, keeps at most one icon until the taskbar goes.
class FakeNotifyIcon : public platform::NotifyIcon {
 public:
  struct Request {
    int message;
    platform::TrayIconData data;
  };
  std::vector<Request> requests;
  bool taskbarRunning = true;  // without a taskbar every request is refused
  bool iconShown = false;

  bool ShellNotifyIcon(int message, const platform::TrayIconData& data) override {
    requests.push_back({message, data});
    // An icon is added once and deleted once, as the shell does.
    const bool add = message == platform::kNimAdd;
    if (!taskbarRunning || (!add && message != platform::kNimDelete)) return false;
    return std::exchange(iconShown, add) != add;
  }
};

// Every seam faked at once, over an in-memory registry of its own or one that outlives it.
template <class Sockets = FakeSockets>
struct FakeOs {
  // The network moves the clock's time on.
  FakeOs() { Wire(); }
  explicit FakeOs(platform::Registry& stored) : registry(stored) { Wire(); }
  Sockets sockets;
  FakeIcmp icmp;
  FakeConnectivity connectivity;
  RecordingClock clock;
  platform::MemoryRegistry ownRegistry;
  platform::Registry& registry = ownRegistry;
  RecordingShell shell;
  FakeNotifyIcon notifyIcon;
  platform::Platform platform{sockets, icmp, connectivity, clock, registry, shell, notifyIcon};

 private:
  void Wire() {
    sockets.time = &clock.time;
    icmp.time = &clock.time;
  }
};

}  // namespace vekhor::fakes
