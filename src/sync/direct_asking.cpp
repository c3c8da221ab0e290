#include "sync/direct_asking.h"

#include <chrono>
#include <memory>
#include <set>
#include <thread>

#include "net/tcp_attempt.h"
#include "net/tcpip.h"
#include "sync/sntp_packet.h"

namespace vekhor {
namespace {

constexpr std::int64_t kWaitUs = 1000000;  // for the connects, then for the answers

struct Attempt {
  const Target* target;
  std::unique_ptr<TcpAttempt> tcp;
  enum class Tcp { Connecting, Connected, Failed } state = Tcp::Failed;
  std::int64_t startUs = 0;
  std::int64_t connectUs = 0;
  std::int64_t arrivalUs = -1;
  std::unique_ptr<SntpQuery> sntp;
  std::optional<SntpOutcome> outcome;

  bool AwaitsAnswer() const { return state == Tcp::Connected && arrivalUs < 0; }
  bool AwaitsReply() const { return sntp && !outcome; }
};

// Waits until `until` (monotonic) or until nothing is awaited any more, handling what each
// select finds: connects that completed or failed, answers and replies that came.
void Pump(const SyncRun& run, std::vector<Attempt>& attempts, std::int64_t until) {
  platform::Clock& clock = run.platform.clock;
  for (;;) {
    std::vector<platform::SelectEntry> entries;
    std::vector<Attempt*> owners;
    for (Attempt& attempt : attempts) {
      if (attempt.state == Attempt::Tcp::Connecting || attempt.AwaitsAnswer()) {
        entries.push_back({.socket = attempt.tcp->Handle(),
                           .read = attempt.AwaitsAnswer(),
                           .write = attempt.state == Attempt::Tcp::Connecting});
        owners.push_back(&attempt);
      }
      if (attempt.AwaitsReply()) {
        entries.push_back({.socket = attempt.sntp->Socket(), .read = true});
        owners.push_back(&attempt);
      }
    }
    const std::int64_t left = until - clock.MonotonicMicroseconds();
    if (entries.empty() || left <= 0) return;
    const int ready = run.platform.sockets.Select(entries, static_cast<long>(left / 1000000),
                                                  static_cast<long>(left % 1000000));
    if (ready <= 0) return;
    const std::int64_t now = clock.MonotonicMicroseconds();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      Attempt& attempt = *owners[i];
      const platform::SelectEntry& entry = entries[i];
      if (attempt.sntp && entry.socket == attempt.sntp->Socket()) {
        if (entry.readable) attempt.outcome = attempt.sntp->Receive(run.buildDay);
      } else if (entry.writable) {
        attempt.state = Attempt::Tcp::Connected;
        attempt.connectUs = now - attempt.startUs;
        attempt.tcp->Connected();
        run.guard.Asked(attempt.target->address, now);
      } else if (entry.failed) {
        attempt.state = Attempt::Tcp::Failed;
      } else if (entry.readable) {
        attempt.arrivalUs = now;
      }
    }
  }
}

}  // namespace

std::optional<Found> AskWithoutEcho(const SyncRun& run, RunState& state,
                                    const std::string& localAddress,
                                    const std::vector<Target>& targets) {
  platform::Clock& clock = run.platform.clock;
  std::vector<Attempt> attempts;
  attempts.reserve(targets.size());
  const std::int64_t start = clock.MonotonicMicroseconds();
  std::set<std::string> taken;
  for (const Target& target : targets) {
    if (!MayAsk(run, state, target)) continue;
    // Listed twice, or by name and by address: asked once, as the 4 s rule wants.
    if (!taken.insert(target.address).second) {
      run.log.WriteLog(Text(run, text::kAskedMomentsAgo) + " " + target.server);
      continue;
    }
    run.log.WriteLog(Text(run, text::kAskedWithoutEcho) + " " + target.server);
    Attempt& attempt = attempts.emplace_back();
    attempt.target = &target;
    attempt.tcp = std::make_unique<TcpAttempt>(run.platform.sockets);
    attempt.startUs = clock.MonotonicMicroseconds();
    if (attempt.tcp->Start(localAddress, target.address, kTimePort)) {
      attempt.state = Attempt::Tcp::Connecting;
    }
  }
  if (attempts.empty()) return std::nullopt;
  Pump(run, attempts, start + kWaitUs);

  // Nothing took the connection there: the same address by SNTP.
  for (Attempt& attempt : attempts) {
    if (attempt.state == Attempt::Tcp::Connected) continue;
    attempt.state = Attempt::Tcp::Failed;
    attempt.tcp.reset();
    attempt.sntp = std::make_unique<SntpQuery>(run.platform.sockets, clock);
    run.guard.Asked(attempt.target->address, clock.MonotonicMicroseconds());
    if (!attempt.sntp->Send(attempt.target->address, kSntpPort, RandomBits(clock))) {
      attempt.outcome = SntpOutcome{};
    }
  }
  Pump(run, attempts, clock.MonotonicMicroseconds() + kWaitUs);

  bool pausedForAnswers = false;
  for (Attempt& attempt : attempts) {
    const Target& target = *attempt.target;
    if (attempt.state == Attempt::Tcp::Connected) {
      // A server that took the connection has answered in its own protocol, time or not.
      if (attempt.arrivalUs < 0) continue;
      if (!pausedForAnswers) std::this_thread::sleep_for(kReceivePause);
      pausedForAnswers = true;
      const auto answer = attempt.tcp->Read(kReceiveLimit);
      if (!answer) continue;
      if (auto time =
              TimeFromAnswer(run, target.server, *answer, attempt.connectUs, attempt.arrivalUs)) {
        return Found{target.server, *time};
      }
    } else if (attempt.outcome) {
      if (auto time = TimeFromSntp(run, state, target, *attempt.outcome)) {
        return Found{target.server, *time};
      }
    }
  }
  return std::nullopt;
}

}  // namespace vekhor
