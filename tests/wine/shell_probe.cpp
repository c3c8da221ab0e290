// Stands in for the browser in the link test: the shell starts it as `shell_probe <record>
// <address>`, and it appends its command line and the id of the process that started it to the
// record.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>

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

}  // namespace

int main(int argc, char** argv) {
  std::FILE* file = argc == 3 ? std::fopen(argv[1], "a") : nullptr;
  if (file == nullptr) return 1;
  std::fprintf(file, "%s\tstarted by %lu\n", ::GetCommandLineA(), ParentProcessId());
  std::fclose(file);
  return 0;
}
