// The command the server runs around itself: a test executable, or wine with one.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace timeserver {

// Starts `command` (searched in PATH) with VEKHOR_TIME_PORT=`port` in its environment and the
// signal dispositions a fresh process expects; -1 when it cannot be started.
pid_t StartChild(const std::vector<std::string>& command, int port);

// The status a shell would report for a child that ended with wait status `status`.
int ExitStatusOf(int status);

}  // namespace timeserver
