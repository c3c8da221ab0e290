#include "program_state.h"

#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vekhor::testing {

void SetValue(const char* key, const char* name, const std::string& value) {
  ::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

std::optional<std::string> ReadValue(HKEY root, const char* key, const char* name) {
  char data[1024] = {};
  DWORD size = sizeof(data);
  if (::RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data);
}

std::string LogPath() {
  const std::string path = VEKHOR_EXE_PATH;
  return path.substr(0, path.find_last_of("/\\") + 1) + "Log.wri";
}

std::string ReadLog() {
  std::ifstream in(LogPath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ForgetProgram() {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY run = nullptr;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
      ::RegDeleteValueA(run, kRunValue);
      ::RegCloseKey(run);
    }
  }
  std::remove(LogPath().c_str());
}

bool TrayIconPresent(HWND host) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = host;
  data.uID = 1;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

}  // namespace vekhor::testing
