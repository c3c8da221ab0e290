#include "win32/app_info.h"

#include <cstring>

#include "platform/win32/ansi_text.h"
#include "platform/win32/module_path.h"

namespace vekhor::win32 {

std::string ModuleFolder(HMODULE module) {
  std::wstring folder = platform::ModulePath(module);
  const auto slash = folder.find_last_of(L"\\/");
  folder.resize(slash == std::wstring::npos ? 0 : slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive's root keeps it
  // UTF-8: the ANSI code page would lose a folder named outside it.
  return platform::ToUtf8(folder);
}

toolkit::Version ModuleVersion(HMODULE module) {
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
  if (found == nullptr) return {};
  const auto* data =
      static_cast<const unsigned char*>(::LockResource(::LoadResource(module, found)));
  const DWORD size = ::SizeofResource(module, found);
  if (data == nullptr) return {};
  // VS_FIXEDFILEINFO starts with its signature, 32-bit aligned, after the block's header.
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, data + at, sizeof(info));
    if (info.dwSignature != 0xFEEF04BD) continue;
    return {static_cast<int>(HIWORD(info.dwFileVersionMS)),
            static_cast<int>(LOWORD(info.dwFileVersionMS)),
            static_cast<int>(LOWORD(info.dwFileVersionLS))};
  }
  return {};
}

std::string ArgumentsOf(const std::wstring& commandLine) {
  std::size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const auto closing = commandLine.find(L'"', 1);
    at = closing == std::wstring::npos ? commandLine.size() : closing + 1;
  } else {
    while (at < commandLine.size() && commandLine[at] != L' ' && commandLine[at] != L'\t') ++at;
  }
  while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) ++at;
  return platform::ToAnsi(commandLine.substr(at));
}

ProgramFacts::ProgramFacts(HINSTANCE instance)
    : texts(instance, CurrentTextLanguage()),
      path(ModuleFolder(instance)),
      version(ModuleVersion(instance)),
      command(ArgumentsOf(::GetCommandLineW())) {}

bool InstanceRunning(const wchar_t* name) {
  const HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (mutex == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  ::CloseHandle(mutex);
  return true;
}

// Denied access is a running instance too: one started as administrator made the mutex with
// rights that an unelevated start does not have.
InstanceMarker::InstanceMarker(const wchar_t* name)
    : mutex_(::CreateMutexW(nullptr, FALSE, name)),
      anotherWasRunning_(::GetLastError() == ERROR_ALREADY_EXISTS ||
                         ::GetLastError() == ERROR_ACCESS_DENIED) {}

InstanceMarker::~InstanceMarker() {
  if (mutex_ != nullptr) ::CloseHandle(mutex_);
}

}  // namespace vekhor::win32
