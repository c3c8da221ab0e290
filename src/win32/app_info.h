// What the program knows of itself: its folder, its version numbers, its command line, and
// whether another instance runs in this user's session.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/toolkit.h"
#include "win32/resource_texts.h"

namespace vekhor::win32 {

// The folder of `module` in UTF-8, ending in a backslash only at a drive's root.
std::string ModuleFolder(HMODULE module);

// Major, minor and revision from the module's version information (FILEVERSION a,b,0,c).
toolkit::Version ModuleVersion(HMODULE module);

// The arguments of a command line, the program's name and the blanks after it removed.
std::string ArgumentsOf(const std::wstring& commandLine);

// What both toolkits report of the program: its texts, folder (UTF-8), version and command
// line.
struct ProgramFacts {
  explicit ProgramFacts(HINSTANCE instance);
  ResourceTexts texts;
  std::string path;
  toolkit::Version version;
  std::string command;
};

// Every instance in the user's session shares this name; other sessions have their own.
inline constexpr const wchar_t* kInstanceName = L"Local\\Vektal Horolan instance";

// Whether an instance holds the marker `name` now, without making one: close mode's look, which
// must not keep a window started meanwhile from starting.
bool InstanceRunning(const wchar_t* name);

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
