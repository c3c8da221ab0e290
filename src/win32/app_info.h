// What the program knows of itself: its folder, its version numbers, its command line, and
// whether another instance runs in this user's session.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/toolkit.h"
#include "win32/resource_texts.h"

namespace vekhor::win32 {

// The folder of `module`, ending in a backslash only at a drive's root.
std::string ModuleFolder(HMODULE module);

// Major, minor and revision from the module's version information (FILEVERSION a,b,0,c).
toolkit::Version ModuleVersion(HMODULE module);

// The arguments of a command line, the program's name and the blanks after it removed.
std::string ArgumentsOf(const std::wstring& commandLine);

// What both toolkits report of the program: its texts, folder, version and command line.
struct ProgramFacts {
  explicit ProgramFacts(HINSTANCE instance);
  ResourceTexts texts;
  std::string path;
  toolkit::Version version;
  std::string command;
};

// Held for the process's life: a named mutex in the session's namespace. Whoever made it first
// is the first instance.
class InstanceMarker {
 public:
  explicit InstanceMarker(const wchar_t* name);
  ~InstanceMarker();
  InstanceMarker(const InstanceMarker&) = delete;
  InstanceMarker& operator=(const InstanceMarker&) = delete;
  bool AnotherWasRunning() const { return anotherWasRunning_; }

 private:
  HANDLE mutex_;
  bool anotherWasRunning_;
};

}  // namespace vekhor::win32
