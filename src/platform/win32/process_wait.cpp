#include "platform/win32/process_wait.h"

namespace vekhor::platform {

bool WaitPumping(HANDLE process, const std::function<bool()>& whileWaiting) {
  for (;;) {
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + 1) return woken == WAIT_OBJECT_0;
    // The window that wanted the result may be gone: a quit message it left would wake every
    // wait at once, and the process ends by itself.
    if (!whileWaiting()) return false;
  }
}

}  // namespace vekhor::platform
