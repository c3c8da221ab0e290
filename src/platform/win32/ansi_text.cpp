#include "platform/win32/ansi_text.h"

#include <windows.h>

namespace vekhor::platform {
namespace {

std::string Narrow(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int wide = static_cast<int>(text.size());
  const int size =
      ::WideCharToMultiByte(codePage, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), wide, result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int narrow = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(codePage, 0, text.data(), narrow, nullptr, 0);
  if (size <= 0) return {};
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), narrow, result.data(), size);
  return result;
}

}  // namespace

std::string ToAnsi(const std::wstring& text) {
  return Narrow(text, CP_ACP);
}

std::wstring FromAnsi(const std::string& text) {
  return Widen(text, CP_ACP);
}

std::string ToUtf8(const std::wstring& text) {
  return Narrow(text, CP_UTF8);
}

std::wstring FromUtf8(const std::string& text) {
  return Widen(text, CP_UTF8);
}

}  // namespace vekhor::platform
