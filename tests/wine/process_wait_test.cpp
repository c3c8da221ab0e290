// Waiting for the run as administrator with the window alive: the wait ends when the process does,
// and at once when the window that waits is gone, even with a quit message left in the queue.
#include <gtest/gtest.h>

#include "platform/win32/process_wait.h"

namespace vekhor::platform {
namespace {

struct Event {
  HANDLE handle = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Event() { ::CloseHandle(handle); }
};

TEST(ProcessWait, EndsWithTheProcessOrOnceTheWaiterGivesUpThoughAQuitMessageWaits) {
  Event process;
  int calls = 0;
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0);
  EXPECT_TRUE(WaitPumping(process.handle, [&] {
    ++calls;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    ::SetEvent(process.handle);  // the process ends while the window handles its events
    return true;
  }));
  EXPECT_EQ(calls, 1);

  // Exit in the window: the quit message stays queued for the message loop, which wakes every
  // wait at once; the wait must end rather than spin until the process ends.
  Event running;
  calls = 0;
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
