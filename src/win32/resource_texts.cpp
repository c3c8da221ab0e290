#include "win32/resource_texts.h"

#include <windows.h>

#include "platform/win32/ansi_text.h"

namespace vekhor::win32 {
namespace {

static_assert(kLanguageEnglishUs == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
static_assert(kLanguageSwedish == MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH));
const LPCWSTR kStringTable = MAKEINTRESOURCEW(6);  // RT_STRING, whatever UNICODE says

}  // namespace

LanguageId CurrentTextLanguage() {
  return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_SWEDISH ? kLanguageSwedish
                                                                     : kLanguageEnglishUs;
}

// FindResourceEx rather than LoadString: LoadString picks the language by itself. A string table
// block holds texts 16(n-1) to 16n-1 as sixteen counted UTF-16 strings.
std::wstring LoadResourceText(void* handle, int number, LanguageId language) {
  const auto module = static_cast<HMODULE>(handle);
  if (number < 0 || number > 0xFFFF) return {};
  const auto block = static_cast<WORD>(number / 16 + 1);
  HRSRC found = ::FindResourceExW(module, kStringTable, MAKEINTRESOURCEW(block), language);
  if (found == nullptr) return {};
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* data = static_cast<const WCHAR*>(::LockResource(loaded));
  if (data == nullptr) return {};
  const DWORD size = ::SizeofResource(module, found) / sizeof(WCHAR);
  DWORD at = 0;
  for (int entry = 0; entry < number % 16; ++entry) {
    if (at >= size) return {};
    at += 1 + data[at];
  }
  if (at >= size || at + 1 + data[at] > size) return {};
  return std::wstring(data + at + 1, data[at]);
}

std::string ResourceTexts::LoadResString(int number) const {
  std::wstring text = LoadResourceText(module_, number, language_);
  if (text.empty() && language_ != kLanguageEnglishUs) {
    text = LoadResourceText(module_, number, kLanguageEnglishUs);
  }
  return platform::ToAnsi(text);
}

}  // namespace vekhor::win32
