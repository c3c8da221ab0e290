// The string table of Vekhor.exe against the catalogue it is built from, loaded by explicit
// language, and the language the program picks for the running user.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/win32/resource_texts.h"
#include "res/catalogue.h"

namespace vekhor {
namespace {

using platform::LanguageId;

std::wstring Wide(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  const int written = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length,
                                            wide.data(), length);
  wide.resize(static_cast<std::size_t>(written > 0 ? written : 0));
  return wide;
}

std::string Ansi(const std::wstring& wide) {
  const int length = static_cast<int>(wide.size());
  std::string ansi(static_cast<std::size_t>(length) * 2, '\0');
  const int written = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(),
                                            static_cast<int>(ansi.size()), nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(written > 0 ? written : 0));
  return ansi;
}

// The program file as data only: its resources, none of its code.
class ProgramResources {
 public:
  ProgramResources()
      : module_(::LoadLibraryExA(VEKHOR_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramResources() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  ProgramResources(const ProgramResources&) = delete;
  ProgramResources& operator=(const ProgramResources&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

struct CatalogueResources : ::testing::Test {
  ProgramResources program;
  void SetUp() override { ASSERT_NE(program.get(), nullptr) << "cannot load " VEKHOR_EXE_PATH; }
};

TEST_F(CatalogueResources, EachLanguageHoldsExactlyTheCatalogue) {
  const struct {
    Language language;
    LanguageId id;
  } kLanguages[] = {{Language::English, platform::kLanguageEnglishUs},
                    {Language::Swedish, platform::kLanguageSwedish}};
  for (const auto& [language, id] : kLanguages) {
    for (int number = kFirstText; number <= kLastText; ++number) {
      EXPECT_EQ(platform::LoadResourceText(program.get(), number, id),
                Wide(CatalogueText(number, language)))
          << "text " << number << ", language " << id;
    }
    // Neighbours of the catalogue sit in the same string blocks and must stay empty.
    EXPECT_EQ(platform::LoadResourceText(program.get(), kFirstText - 1, id), L"");
    EXPECT_EQ(platform::LoadResourceText(program.get(), kLastText + 1, id), L"");
  }
}

TEST_F(CatalogueResources, TheCoreGetsTheTextInTheAnsiCodePage) {
  const platform::ResourceTexts swedish(program.get(), platform::kLanguageSwedish);
  EXPECT_EQ(swedish.LoadResString(108), Ansi(L"Inst\u00E4llningar"));
  if (::GetACP() == 1252) {
    EXPECT_EQ(swedish.LoadResString(110), "\xD6ppna");
    EXPECT_EQ(swedish.LoadResString(102), "Du \xE4r inte ansluten till Internet");
  }
  const platform::ResourceTexts english(program.get(), platform::kLanguageEnglishUs);
  EXPECT_EQ(english.LoadResString(104), "Clock synchronised succesfully");
}

TEST_F(CatalogueResources, ALanguageThatIsNotThereFallsBackToEnglish) {
  const platform::ResourceTexts german(program.get(), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
  EXPECT_EQ(german.LoadResString(101), "Could not make connection");
}

// ctest runs this under a Swedish and a German locale and says what it expects.
TEST_F(CatalogueResources, TheCurrentLanguageIsSwedishOnlyForASwedishUser) {
  const char* expected = std::getenv("VEKHOR_EXPECTED_TEXT_LANGUAGE");
  if (expected == nullptr) GTEST_SKIP() << "run through ctest, which sets the locale";
  const bool swedish = std::string_view(expected) == "Swedish";
  EXPECT_EQ(platform::CurrentTextLanguage(),
            swedish ? platform::kLanguageSwedish : platform::kLanguageEnglishUs);
  const platform::ResourceTexts current(program.get(), platform::CurrentTextLanguage());
  EXPECT_EQ(current.LoadResString(106), swedish ? "Avsluta" : "Exit");
}

}  // namespace
}  // namespace vekhor
