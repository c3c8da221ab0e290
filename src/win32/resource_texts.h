// The message catalogue as the program's STRINGTABLE holds it, in one explicit language.
#pragma once

#include <cstdint>
#include <string>

#include "res/catalogue.h"

namespace vekhor::win32 {

// A LANGID; the module is an HMODULE. Windows types stay out of this header, as windows.h
// would turn names like CreateFile in the platform interfaces into macros.
using LanguageId = std::uint16_t;
inline constexpr LanguageId kLanguageEnglishUs = 0x0409;
inline constexpr LanguageId kLanguageSwedish = 0x041D;

// Swedish where the user's interface language is Swedish, else English (United States).
LanguageId CurrentTextLanguage();

// Text `number` of `module`'s string table in `language` exactly, as stored (UTF-16);
// empty when that language has no such text.
std::wstring LoadResourceText(void* module, int number, LanguageId language);

// LoadResString over a module's string table: the text in `language`, or in English where that
// language lacks it, converted to the ANSI code page for the core.
class ResourceTexts final : public TextSource {
 public:
  ResourceTexts(void* module, LanguageId language) : module_(module), language_(language) {}
  std::string LoadResString(int number) const override;

 private:
  void* module_;
  LanguageId language_;
};

}  // namespace vekhor::win32
