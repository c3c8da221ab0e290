// Stands in for the browser and the log's viewer: the shell starts it as `shell_probe <record>
// <address or file>`, and it appends its command line, in UTF-8 so that a path named outside the
// ANSI code page reads as it came, and the id of the process that started it to the record.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <string>

namespace {

DWORD ParentProcessId() {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  DWORD parent = 0;
  for (BOOL more = ::Process32First(snapshot, &entry); more && parent == 0;
       more = ::Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == ::GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  ::CloseHandle(snapshot);
  return parent;
}

std::string CommandLine() {
  const wchar_t* line = ::GetCommandLineW();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the NUL
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::FILE* file = argc == 3 ? std::fopen(argv[1], "a") : nullptr;
  if (file == nullptr) return 1;
  std::fprintf(file, "%s\tstarted by %lu\n", CommandLine().c_str(), ParentProcessId());
  std::fclose(file);
  return 0;
}
