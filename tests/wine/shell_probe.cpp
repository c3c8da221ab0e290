// Stands in for the browser in the link test: the shell starts it as `shell_probe <record>
// <address>`, and it appends its command line to the record.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  std::FILE* file = argc == 3 ? std::fopen(argv[1], "a") : nullptr;
  if (file == nullptr) return 1;
  std::fprintf(file, "%s\n", ::GetCommandLineA());
  std::fclose(file);
  return 0;
}
