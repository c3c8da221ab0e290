// The program's texts in the user's language and regional forms, which Wine takes from LANG:
// Vekhor.exe's string table against its catalogue, the language picked, the date-time text.
#include <map>
#include <memory>

#include "platform/win32/win_clock.h"
#include "res/catalogue.h"
#include "support/program.h"
#include "win32/resource_texts.h"

namespace vekhor {
namespace {

using win32::ResourceTexts;

// ctest runs this again under a Swedish and a German locale and says which language it expects.
TEST(CatalogueResources, EachLanguageHoldsExactlyTheCatalogueAndTheUsersLanguageIsPicked) {
  // The program file as data only: its resources, none of its code.
  const std::unique_ptr<HINSTANCE__, decltype(&::FreeLibrary)> program{
      ::LoadLibraryExA(VEKHOR_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE), &::FreeLibrary};
  ASSERT_NE(program, nullptr) << "cannot load " VEKHOR_EXE_PATH;
  for (const auto& [language, id] : {std::pair{Language::English, win32::kLanguageEnglishUs},
                                     std::pair{Language::Swedish, win32::kLanguageSwedish}}) {
    for (int number = kFirstText; number <= kLastText; ++number) {
      EXPECT_EQ(win32::LoadResourceText(program.get(), number, id),
                testing::Wide(CatalogueText(number, language)))
          << "text " << number << ", language " << id;
    }
    // Neighbours of the catalogue sit in the same string blocks and must stay empty.
    EXPECT_EQ(win32::LoadResourceText(program.get(), kFirstText - 1, id), L"");
    EXPECT_EQ(win32::LoadResourceText(program.get(), kLastText + 1, id), L"");
  }
  // Any other language falls back to English.
  const ResourceTexts german(program.get(), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
  EXPECT_EQ(german.LoadResString(101), "Could not make connection");

  const char* expected = std::getenv("VEKHOR_EXPECTED_TEXT_LANGUAGE");
  if (expected == nullptr) return;
  const bool swedish = std::string_view(expected) == "Swedish";
  EXPECT_EQ(win32::CurrentTextLanguage(),
            swedish ? win32::kLanguageSwedish : win32::kLanguageEnglishUs);
  const ResourceTexts current(program.get(), win32::CurrentTextLanguage());
  EXPECT_EQ(current.LoadResString(106), swedish ? "Avsluta" : "Exit");
}

TEST(DateTimeText, FollowsTheRegionalFormsAndDropsMidnight) {
  const char* region = std::getenv("VEKHOR_EXPECTED_REGION");
  if (region == nullptr) GTEST_SKIP() << "run through ctest, which sets the locale";
  // An afternoon, and the midnight that the text shows as the date alone.
  const std::map<std::string, std::pair<std::string, std::string>> expected = {
      {"en", {"12/7/2026 3:04:05 PM", "12/7/2026"}},
      {"sv", {"2026-12-07 15:04:05", "2026-12-07"}},
      // Windows writes the German day with two digits, Wine with one.
      {"de", {"0?7\\.12\\.2026 15:04:05", "0?7\\.12\\.2026"}},
  };
  const auto& [afternoon, midnight] = expected.at(region);
  using ::testing::MatchesRegex;
  EXPECT_THAT(platform::DateTimeText({2026, 12, 1, 7, 15, 4, 5, 0}), MatchesRegex(afternoon));
  EXPECT_THAT(platform::DateTimeText({2026, 12, 1, 7, 0, 0, 0, 0}), MatchesRegex(midnight));
  // One second past midnight is a time like any other.
  EXPECT_THAT(platform::DateTimeText({2026, 12, 1, 7, 0, 0, 1, 0}),
              ::testing::Not(MatchesRegex(midnight)));
}

}  // namespace
}  // namespace vekhor
