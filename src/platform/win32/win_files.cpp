// _wfopen, with the path converted from UTF-8 at this edge.
#include "platform/files.h"

#include "platform/win32/ansi_text.h"

namespace vekhor::platform {

OwnedFile OpenFile(const std::string& utf8Path, const char* mode) {
  const std::string narrowMode = mode;
  const std::wstring wideMode(narrowMode.begin(), narrowMode.end());  // fopen's modes are ASCII
  return OwnedFile(::_wfopen(FromUtf8(utf8Path).c_str(), wideMode.c_str()));
}

}  // namespace vekhor::platform
