// POSIX paths are bytes, UTF-8 by convention: the path goes to fopen as it is.
#include "platform/files.h"

namespace vekhor::platform {

OwnedFile OpenFile(const std::string& utf8Path, const char* mode) {
  return OwnedFile(std::fopen(utf8Path.c_str(), mode));
}

}  // namespace vekhor::platform
