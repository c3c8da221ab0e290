// The checked servers that did not answer the echo, asked directly once none of those that did
// gave the time: many networks and hosts drop the echo, and a server 250 ms away answers it too
// late. All are asked at once, as one after another a dead network would cost seconds a server.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sync/run_steps.h"

namespace vekhor {

// Connects to port 37 of each at once (a connect is not yet a question), gives the connects a
// second, then asks SNTP of each where nothing took the connection, and gives the replies and
// the answers another second; then takes the first time in list order. Each asked is logged.
std::optional<Found> AskWithoutEcho(const SyncRun& run, RunState& state,
                                    const std::string& localAddress,
                                    const std::vector<Target>& targets);

}  // namespace vekhor
