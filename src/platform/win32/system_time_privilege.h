// The "Change the system time" privilege, switched on in the process token for as long as the
// object lives and put back as it was afterwards. Windows gives the privilege to those who hold it
// in the disabled state; SetSystemTime fails with ERROR_PRIVILEGE_NOT_HELD until it is enabled.
#pragma once

#include <windows.h>

namespace vekhor::platform {

class SystemTimePrivilege final {
 public:
  SystemTimePrivilege();
  ~SystemTimePrivilege();
  SystemTimePrivilege(const SystemTimePrivilege&) = delete;
  SystemTimePrivilege& operator=(const SystemTimePrivilege&) = delete;

 private:
  HANDLE token_ = nullptr;
  TOKEN_PRIVILEGES previous_{};
  bool adjusted_ = false;
};

}  // namespace vekhor::platform
