// Waiting for a process while the window stays alive.
#pragma once

#include <windows.h>

#include <functional>

namespace vekhor::platform {

// Waits for `process` to end, calling `whileWaiting` whenever input or messages are pending;
// false, the process still running, once `whileWaiting` returns false. Input that arrived before
// the wait wakes it too, so nothing queued waits for the next message.
bool WaitPumping(HANDLE process, const std::function<bool()>& whileWaiting);

}  // namespace vekhor::platform
