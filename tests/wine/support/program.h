// Vekhor.exe run for a test and driven from outside as a user's tools would, and what it leaves
// on this machine: settings, server list and Run values in the registry, and its log.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <string_view>

#include "toolkit/layout.h"

namespace vekhor::testing {

inline constexpr const char* kProgramKey = "Software\\VB and VBA Program Settings\\Vektal";
inline constexpr const char* kSettingsKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan";
inline constexpr const char* kServersKey =
    "Software\\VB and VBA Program Settings\\Vektal\\Horolan\\Servers";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Vektal Horolan";

// A string value in the registry, by default one of the program's settings.
inline void SetValue(const char* name, const std::string& value, const char* key = kSettingsKey,
                     HKEY root = HKEY_CURRENT_USER) {
  ::RegSetKeyValueA(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}
inline std::optional<std::string> ReadValue(const char* name, const char* key = kSettingsKey,
                                            HKEY root = HKEY_CURRENT_USER) {
  char data[1024] = {};
  DWORD size = sizeof(data);
  if (::RegGetValueA(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                     data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data);
}

// The program's Run value, under the user's key or, with `root`, another's.
inline std::optional<std::string> RunValue(HKEY root = HKEY_CURRENT_USER) {
  return ReadValue(kRunValue, kRunKey, root);
}

// The program's instance mutex as one started as administrator holds it, out of an unelevated
// process's reach: an empty DACL grants nobody anything. Null where it cannot be made so.
inline HANDLE HoldInstanceMutexOutOfReach() {
  SECURITY_DESCRIPTOR noAccess{};
  ::InitializeSecurityDescriptor(&noAccess, SECURITY_DESCRIPTOR_REVISION);
  static ACL empty{};
  ::InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
  ::SetSecurityDescriptorDacl(&noAccess, TRUE, &empty, FALSE);
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), &noAccess, FALSE};
  constexpr const wchar_t* kName = L"Local\\Vektal Horolan instance";
  const HANDLE held = ::CreateMutexW(&attributes, FALSE, kName);
  if (held == nullptr) return nullptr;
  if (::CreateMutexW(nullptr, FALSE, kName) != nullptr || ::GetLastError() != ERROR_ACCESS_DENIED) {
    ::CloseHandle(held);  // not refused here after all
    return nullptr;
  }
  return held;
}

inline std::string LogPath() {
  const std::string path = VEKHOR_EXE_PATH;
  return path.substr(0, path.find_last_of("/\\") + 1) + "Log.wri";
}

// Nothing of the program's left: settings, server list, Run values and log.
inline void ForgetProgram() {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    ::RegDeleteKeyValueA(root, kRunKey, kRunValue);
  std::remove(LogPath().c_str());
}

// Logging on, no tray icon, and these servers, all checked, in this order.
inline void PrepareRun(const std::vector<std::string>& servers) {
  SetValue("SysTray", "0");
  SetValue("Log", "1");
  for (std::size_t n = 1; n <= servers.size(); ++n) {
    const std::string number = std::to_string(n);
    SetValue(("Server" + number).c_str(), servers[n - 1], kServersKey);
    SetValue(("ServerChecked" + number).c_str(), "-1", kServersKey);
  }
}

inline std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Fails the test unless the log holds each of `present` and none of `absent`.
inline void ExpectLog(const std::vector<std::string>& present,
                      const std::vector<std::string>& absent) {
  using ::testing::HasSubstr;
  const std::string log = ReadFile(LogPath());
  for (const std::string& line : present) EXPECT_THAT(log, HasSubstr(line));
  for (const std::string& line : absent) EXPECT_THAT(log, ::testing::Not(HasSubstr(line)));
}

// Asks `done` every 50 ms for up to `patienceMs` (10 s); whether it came true.
inline bool WaitUntil(const std::function<bool()>& done, int patienceMs = 10000) {
  for (int waited = 0; waited < patienceMs; waited += 50) {
    if (done()) return true;
    ::Sleep(50);
  }
  return done();
}

// Empty for text that is not UTF-8.
inline std::wstring Wide(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(
      CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), length)));
  return wide;
}

// A process of `commandLine` (UTF-8, so that a program in a folder named outside the ANSI code
// page starts too), null when none started; none of its output reaches the test's.
inline PROCESS_INFORMATION StartProcess(const std::string& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION process{};
  std::wstring wide = Wide(commandLine);
  ::CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &process);
  return process;
}

// The exit status once the process has ended, or STILL_ACTIVE after `patienceMs`.
inline DWORD WaitForExit(HANDLE process, DWORD patienceMs = 60000) {
  DWORD status = STILL_ACTIVE;
  if (::WaitForSingleObject(process, patienceMs) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process, &status);
  return status;
}

// The exit status of `commandLine` run to its end, or STILL_ACTIVE when it is killed after
// `patienceMs`.
inline DWORD RunToEnd(const std::string& commandLine, DWORD patienceMs = 60000) {
  const PROCESS_INFORMATION process = StartProcess(commandLine);
  const DWORD status = WaitForExit(process.hProcess, patienceMs);
  if (status == STILL_ACTIVE) ::TerminateProcess(process.hProcess, 99);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return status;
}

inline HWND FindWindowOf(DWORD processId, const wchar_t* className, bool shownOnly) {
  for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window != nullptr;
       window = ::FindWindowExW(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && (!shownOnly || ::IsWindowVisible(window))) return window;
  }
  return nullptr;
}

class ProgramWindow {
 public:
  // Waits until the program is idle with its window made, shown or hidden as asked.
  enum class Start { Shown, Hidden };
  explicit ProgramWindow(const std::string& arguments = "", Start start = Start::Shown,
                         const std::string& program = VEKHOR_EXE_PATH)
      : process_(StartProcess("\"" + program + "\" " + arguments)) {
    if (process_.hProcess == nullptr) return;
    ::WaitForInputIdle(process_.hProcess, 30000);
    WaitUntil([&] {
      window_ = FindWindowOf(process_.dwProcessId, L"VekhorMainWindow", start == Start::Shown);
      return window_ != nullptr || ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    });
  }
  ~ProgramWindow() {  // closes the program, or kills it if it hangs
    if (process_.hProcess == nullptr) return;
    if (Close() == STILL_ACTIVE) ::TerminateProcess(process_.hProcess, 99);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  bool Found() const { return window_ != nullptr; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  HWND Window() const { return window_; }
  HWND Control(toolkit::ControlId id) const {
    return ::GetDlgItem(window_, toolkit::kFirstControlId + static_cast<int>(id));
  }
  // The control's answer to `message`, which it has handled by then.
  LRESULT Send(toolkit::ControlId id, UINT message, WPARAM w = 0, LPARAM l = 0) const {
    return ::SendMessageW(Control(id), message, w, l);
  }
  bool Shown(toolkit::ControlId id) const { return ::IsWindowVisible(Control(id)) != FALSE; }
  void Click(toolkit::ControlId id) const { Send(id, BM_CLICK); }
  std::string Text(toolkit::ControlId id) const {
    char text[512] = {};
    ::SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
  }
  DWORD WaitForExit() const { return testing::WaitForExit(process_.hProcess); }
  // The Exit button's own report of a click, which works on a hidden window too.
  DWORD Close() const {
    const HWND exit = Control(toolkit::ControlId::cmdExit);
    if (window_ != nullptr)
      ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(exit), BN_CLICKED),
                     reinterpret_cast<LPARAM>(exit));
    return WaitForExit();
  }

  // The server list's entries and check marks, on the servers page, which it shows: the list
  // has no window before. The list writes texts to the program's memory.
  std::vector<std::pair<std::string, bool>> ServerList() const {
    Click(toolkit::ControlId::optSync2);
    constexpr SIZE_T kTextSize = 1024;
    auto* remote =
        static_cast<char*>(::VirtualAllocEx(process_.hProcess, nullptr, sizeof(LVITEMA) + kTextSize,
                                            MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    LVITEMA item{};
    item.pszText = remote + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(kTextSize);
    std::vector<std::pair<std::string, bool>> entries;
    const auto count = static_cast<WPARAM>(Send(toolkit::ControlId::lstServer, LVM_GETITEMCOUNT));
    for (WPARAM i = 0; remote != nullptr && i < count; ++i) {
      ::WriteProcessMemory(process_.hProcess, remote, &item, sizeof(item), nullptr);
      const auto length = Send(toolkit::ControlId::lstServer, LVM_GETITEMTEXTA, i,
                               reinterpret_cast<LPARAM>(remote));
      std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)), '\0');
      ::ReadProcessMemory(process_.hProcess, item.pszText, text.data(), text.size(), nullptr);
      const auto state =
          Send(toolkit::ControlId::lstServer, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK);
      entries.emplace_back(text, (state >> 12) == 2);
    }
    if (remote != nullptr) ::VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    return entries;
  }

  // A shown top-level window of the program's ("#32770" a message box), after up to
  // `patienceMs`.
  HWND WaitForWindowOfClass(const wchar_t* className, int patienceMs = 10000) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(process_.dwProcessId, className, true)); },
              patienceMs);
    return found;
  }

  // Right-clicks the tray icon and picks from its menu with `key` and Return; false when there
  // is no icon or no menu, with a failure that says which. The shell refuses a change to an
  // icon it does not hold (yet). Right after the window hides, Wine may still be moving the X
  // focus, which closes the menu as soon as it opens: then the test clicks again, as a user
  // would.
  bool PickFromTrayMenu(WPARAM key) const {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = Control(toolkit::ControlId::TrayIcon);
    icon.uID = 1;
    if (!WaitUntil([&] { return ::Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE; })) {
      ADD_FAILURE() << "the shell holds no icon of the program's";
      return false;
    }
    constexpr int kClicks = 4;
    HWND menu = nullptr;
    for (int click = 0; click < kClicks && menu == nullptr; ++click) {
      ::PostMessageW(icon.hWnd, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
      menu = WaitForWindowOfClass(L"#32768", 2500);
    }
    if (menu == nullptr) {
      ADD_FAILURE() << "no menu came from " << kClicks << " right-clicks on the icon";
      return false;
    }
    ::PostMessageW(menu, WM_KEYDOWN, key, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return true;
  }

  // The program's live GDI objects (Wine's GetGuiResources counts none), from the GDI handle
  // table its PEB points to: 0x10000 entries of 24 bytes, the object's type in byte 14 (zero for
  // a free entry), its owner's process id in bytes 8-9.
  std::size_t GuiObjects() const {
    PROCESS_BASIC_INFORMATION basic{};  // no PEB, nothing read: none counted
    ::NtQueryInformationProcess(process_.hProcess, ProcessBasicInformation, &basic, sizeof(basic),
                                nullptr);
    const auto read = [&](const void* at, void* into, std::size_t size) {
      return ::ReadProcessMemory(process_.hProcess, at, into, size, nullptr) != FALSE;
    };
    constexpr std::size_t kEntries = 0x10000, kEntrySize = 24;
    const void* table = nullptr;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!read(static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + 0xF8, &table,
              sizeof(table)) ||
        !read(table, entries.data(), entries.size()))
      return 0;
    std::size_t live = 0;
    for (std::size_t i = 0; i < kEntries; ++i) {
      const unsigned char* entry = entries.data() + i * kEntrySize;
      std::uint16_t owner = 0;
      std::memcpy(&owner, entry + 8, sizeof(owner));
      if (entry[14] != 0 &&
          (owner == 0 || owner == static_cast<std::uint16_t>(process_.dwProcessId)))
        ++live;
    }
    return live;
  }

  // The window as on screen, to VEKHOR_SCREENSHOT_FOLDER as a BMP; true when none is wanted.
  bool SaveScreenshot(const std::string& name) const {
    const char* folder = std::getenv("VEKHOR_SCREENSHOT_FOLDER");
    const char* prefix = std::getenv("VEKHOR_SCREENSHOT_PREFIX");
    if (folder == nullptr) return true;
    ::CreateDirectoryA(folder, nullptr);
    ::Sleep(300);  // time to paint
    RECT bounds{};
    ::GetWindowRect(window_, &bounds);
    const LONG width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    const bool copied =
        ::BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY) != FALSE;
    ::SelectObject(memory, previous);
    BITMAPINFOHEADER header{sizeof(header), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<char> pixels(static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * height));
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file{0x4D42, kHeaders + static_cast<DWORD>(pixels.size()), 0, 0,
                                kHeaders};
    std::ofstream out(std::string(folder) + "/" + (prefix != nullptr ? prefix : "") + name + ".bmp",
                      std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return copied && out.good();
  }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace vekhor::testing
