// Waiting for the run as administrator with the window alive: the wait ends at once when the
// window that waits is gone, even with a quit message left in the queue (its end with the process
// is the run as administrator's own Wine test).
#include <gtest/gtest.h>

#include "platform/win32/process_wait.h"

namespace vekhor::platform {
namespace {

struct Event {
  HANDLE handle = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Event() { ::CloseHandle(handle); }
};

TEST(ProcessWait, EndsOnceTheWaiterGivesUpThoughAQuitMessageWaits) {
  // Exit in the window: the quit message stays queued for the message loop, which wakes every
  // wait at once; the wait must end rather than spin until the process ends.
  Event running;
  int calls = 0;
  ::PostQuitMessage(0);
  EXPECT_FALSE(WaitPumping(running.handle, [&] {
    ++calls;
    return false;
  }));
  EXPECT_EQ(calls, 1);
  MSG quit;
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "left for the loop";
}

}  // namespace
}  // namespace vekhor::platform
