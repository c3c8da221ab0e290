// WinMain of Vekhor.exe. The main window is built on top of this entry point; until then the
// program carries its resources (message catalogue, version, manifest) and exits at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
