#include "platform/win32/system_time_privilege.h"

namespace vekhor::platform {

SystemTimePrivilege::SystemTimePrivilege() {
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_)) {
    token_ = nullptr;
    return;
  }
  TOKEN_PRIVILEGES wanted{};
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege", &wanted.Privileges[0].Luid))
    return;
  DWORD previousSize = 0;
  // Without the privilege in the token this still succeeds (ERROR_NOT_ALL_ASSIGNED) and changes
  // nothing; SetSystemTime then fails with ERROR_PRIVILEGE_NOT_HELD, which the run reports.
  adjusted_ = ::AdjustTokenPrivileges(token_, FALSE, &wanted, sizeof(previous_), &previous_,
                                      &previousSize) != FALSE;
}

SystemTimePrivilege::~SystemTimePrivilege() {
  // previous_ lists only what the call changed: empty when the privilege was on already.
  if (adjusted_ && previous_.PrivilegeCount > 0) {
    ::AdjustTokenPrivileges(token_, FALSE, &previous_, 0, nullptr, nullptr);
  }
  if (token_ != nullptr) ::CloseHandle(token_);
}

}  // namespace vekhor::platform
