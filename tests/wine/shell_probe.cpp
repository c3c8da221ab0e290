// Stands in for the browser in the link test: the shell starts it with the address it was asked
// to open, and it appends its command line to the file that VEKHOR_SHELL_PROBE_RECORD names.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
  const char* record = std::getenv("VEKHOR_SHELL_PROBE_RECORD");
  if (record == nullptr) return 1;
  std::FILE* file = std::fopen(record, "a");
  if (file == nullptr) return 2;
  std::fprintf(file, "%s\n", ::GetCommandLineA());
  std::fclose(file);
  return 0;
}
