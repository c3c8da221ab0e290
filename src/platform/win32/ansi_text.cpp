#include "platform/win32/ansi_text.h"

#include <windows.h>

namespace vekhor::platform {

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int wide = static_cast<int>(text.size());
  const int size =
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int narrow = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrow, nullptr, 0);
  if (size <= 0) return {};
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrow, result.data(), size);
  return result;
}

}  // namespace vekhor::platform
