// The string table of Vekhor.exe against the catalogue it is built from, by explicit language,
// and the language the program picks for the running user. The Swedish run of the server list
// test sees the texts through the ANSI code page, in a message box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win32/resource_texts.h"
#include "res/catalogue.h"
#include "support/program.h"

namespace vekhor {
namespace {

using platform::ResourceTexts;

// ctest runs this again under a Swedish and a German locale and says which language it expects.
TEST(CatalogueResources, EachLanguageHoldsExactlyTheCatalogueAndTheUsersLanguageIsPicked) {
  // The program file as data only: its resources, none of its code.
  const std::unique_ptr<HINSTANCE__, decltype(&::FreeLibrary)> program{
      ::LoadLibraryExA(VEKHOR_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE), &::FreeLibrary};
  ASSERT_NE(program, nullptr) << "cannot load " VEKHOR_EXE_PATH;
  for (const auto& [language, id] : {std::pair{Language::English, platform::kLanguageEnglishUs},
                                     std::pair{Language::Swedish, platform::kLanguageSwedish}}) {
    for (int number = kFirstText; number <= kLastText; ++number) {
      EXPECT_EQ(platform::LoadResourceText(program.get(), number, id),
                testing::Wide(CatalogueText(number, language)))
          << "text " << number << ", language " << id;
    }
    // Neighbours of the catalogue sit in the same string blocks and must stay empty.
    EXPECT_EQ(platform::LoadResourceText(program.get(), kFirstText - 1, id), L"");
    EXPECT_EQ(platform::LoadResourceText(program.get(), kLastText + 1, id), L"");
  }
  // Any other language falls back to English.
  const ResourceTexts german(program.get(), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
  EXPECT_EQ(german.LoadResString(101), "Could not make connection");

  const char* expected = std::getenv("VEKHOR_EXPECTED_TEXT_LANGUAGE");
  if (expected == nullptr) return;
  const bool swedish = std::string_view(expected) == "Swedish";
  EXPECT_EQ(platform::CurrentTextLanguage(),
            swedish ? platform::kLanguageSwedish : platform::kLanguageEnglishUs);
  const ResourceTexts current(program.get(), platform::CurrentTextLanguage());
  EXPECT_EQ(current.LoadResString(106), swedish ? "Avsluta" : "Exit");
}

}  // namespace
}  // namespace vekhor
