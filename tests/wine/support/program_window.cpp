#include "program_window.h"

#include <commctrl.h>
#include <winternl.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace vekhor::testing {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;

struct Search {
  DWORD processId;
  const wchar_t* className;
  bool shownOnly;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (owner == search->processId && std::wcscmp(className, search->className) == 0 &&
      (!search->shownOnly || ::IsWindowVisible(window))) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, bool shownOnly) {
  Search search{processId, className, shownOnly, nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The GDI handle table of a process, as its PEB shows it: 0x10000 entries of 24 bytes, the
// object's type in byte 14 (zero for a free entry) and its owner's process id in bytes 8-9.
std::size_t LiveGdiEntries(HANDLE process, DWORD processId) {
  using QueryFunction = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr ||
      query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
    return 0;
  constexpr std::size_t kTableOffset = 0xF8, kEntries = 0x10000, kEntrySize = 24;
  std::uint64_t table = 0;
  SIZE_T read = 0;
  if (!::ReadProcessMemory(
          process,
          static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + kTableOffset, &table,
          sizeof(table), &read) ||
      table == 0)
    return 0;
  std::vector<unsigned char> entries(kEntries * kEntrySize);
  if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size(), &read))
    return 0;
  std::size_t live = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    const unsigned char* entry = entries.data() + i * kEntrySize;
    std::uint16_t owner = 0;
    std::memcpy(&owner, entry + 8, sizeof(owner));
    if (entry[14] != 0 && (owner == 0 || owner == static_cast<std::uint16_t>(processId))) ++live;
  }
  return live;
}

}  // namespace

ProgramWindow::ProgramWindow(const std::string& arguments, Start start) {
  std::string commandLine = "\"" VEKHOR_EXE_PATH "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
    return;
  }
  ::WaitForInputIdle(process_.hProcess, kStartTimeoutMs);
  for (DWORD waited = 0; window_ == nullptr && waited < kStartTimeoutMs; waited += 50) {
    window_ = FindWindowOf(process_.dwProcessId, L"VekhorMainWindow", start == Start::Shown);
    if (window_ == nullptr && ::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) break;
  }
}

ProgramWindow::~ProgramWindow() {
  if (process_.hProcess == nullptr) return;
  if (!closed_ && Close() == STILL_ACTIVE) ::TerminateProcess(process_.hProcess, 99);
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

DWORD ProgramWindow::Close() {
  closed_ = true;
  // The Exit button's click, as the button itself reports it: the close box only hides the
  // window, and a hidden button takes no clicks.
  if (window_ != nullptr) {
    const int exit = app::kFirstControlId + static_cast<int>(app::ControlId::cmdExit);
    ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(exit, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window_, exit)));
  }
  DWORD status = STILL_ACTIVE;
  if (::WaitForSingleObject(process_.hProcess, 20000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process_.hProcess, &status);
  return status;
}

HWND ProgramWindow::Control(app::ControlId id) const {
  return ::GetDlgItem(window_, app::kFirstControlId + static_cast<int>(id));
}

std::string ProgramWindow::Text(app::ControlId id) const {
  char text[512] = {};
  ::SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

bool ProgramWindow::Shown(app::ControlId id) const {
  return ::IsWindowVisible(Control(id)) != FALSE;
}

SIZE ProgramWindow::ClientSize() const {
  RECT client{};
  ::GetClientRect(window_, &client);
  return {client.right - client.left, client.bottom - client.top};
}

void ProgramWindow::ClickPage(int index) const {
  constexpr app::ControlId kPageButtons[] = {app::ControlId::optSync0, app::ControlId::optSync1,
                                             app::ControlId::optSync2, app::ControlId::optSync3};
  ::SendMessageW(Control(kPageButtons[index]), BM_CLICK, 0, 0);
}

HWND ProgramWindow::Focused() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

int ProgramWindow::ListCount() const {
  return static_cast<int>(
      ::SendMessageW(Control(app::ControlId::lstServer), LVM_GETITEMCOUNT, 0, 0));
}

bool ProgramWindow::ListChecked(int index) const {
  const auto state = ::SendMessageW(Control(app::ControlId::lstServer), LVM_GETITEMSTATE,
                                    static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
  return (state >> 12) == 2;
}

// The entry's text goes through memory of the program's own: the list writes it there.
std::string ProgramWindow::ListText(int index) const {
  constexpr SIZE_T kTextSize = 1024;
  void* remote = ::VirtualAllocEx(process_.hProcess, nullptr, sizeof(LVITEMA) + kTextSize,
                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return {};
  auto* remoteText = static_cast<char*>(remote) + sizeof(LVITEMA);
  LVITEMA item{};
  item.pszText = remoteText;
  item.cchTextMax = static_cast<int>(kTextSize);
  std::string text(kTextSize, '\0');
  SIZE_T moved = 0;
  if (::WriteProcessMemory(process_.hProcess, remote, &item, sizeof(item), &moved)) {
    const auto length =
        ::SendMessageA(Control(app::ControlId::lstServer), LVM_GETITEMTEXTA,
                       static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process_.hProcess, remoteText, text.data(), kTextSize, &moved);
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  } else {
    text.clear();
  }
  ::VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
  return text;
}

HWND ProgramWindow::WaitForWindowOfClass(const wchar_t* className) const {
  for (int waited = 0; waited < 10000; waited += 50) {
    if (HWND found = FindWindowOf(process_.dwProcessId, className, true)) return found;
    ::Sleep(50);
  }
  return nullptr;
}

std::size_t ProgramWindow::GuiObjects() const {
  const DWORD counted = ::GetGuiResources(process_.hProcess, GR_GDIOBJECTS) +
                        ::GetGuiResources(process_.hProcess, GR_USEROBJECTS);
  return counted != 0 ? counted : LiveGdiEntries(process_.hProcess, process_.dwProcessId);
}

bool ProgramWindow::SaveScreenshot(const std::string& path) const {
  RECT bounds{};
  ::GetWindowRect(window_, &bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  const bool copied =
      ::BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY) != FALSE;
  ::GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char*>(bits), imageSize);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return copied && out.good();
}

}  // namespace vekhor::testing
