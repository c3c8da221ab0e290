// Files opened by a path in UTF-8, the form the program keeps its folder in. fopen reads a path
// in the ANSI code page on Windows, which loses a folder named outside it; the Win32 backend
// opens with _wfopen instead. A link-time seam: each build links its own backend.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace vekhor::platform {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// fopen's `mode` ("rb", "ab"); null when the file cannot be opened.
OwnedFile OpenFile(const std::string& utf8Path, const char* mode);

}  // namespace vekhor::platform
