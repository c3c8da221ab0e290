// The built-in catalogue: complete in both languages, Swedish only for Swedish locales.
#include "res/catalogue.h"

#include <gtest/gtest.h>

namespace vekhor {
namespace {

TEST(Catalogue, EveryNumberHasBothLanguagesAndSwedishIsOnlyForSwedishLocales) {
  for (int n = kFirstText; n <= kLastText; ++n) {
    EXPECT_FALSE(CatalogueText(n, Language::English).empty()) << n;
    EXPECT_FALSE(CatalogueText(n, Language::Swedish).empty()) << n;
  }
  EXPECT_TRUE(CatalogueText(kFirstText - 1, Language::English).empty());
  EXPECT_TRUE(CatalogueText(kLastText + 1, Language::Swedish).empty());
  EXPECT_EQ(CatalogueText(108, Language::Swedish), "Inst\xC3\xA4llningar");  // UTF-8
  for (const char* swedish : {"sv_SE.UTF-8", "sv_FI", "sv-SE", "sv"}) {
    EXPECT_EQ(LanguageOfLocale(swedish), Language::Swedish) << swedish;
  }
  for (const char* other : {"de_DE.UTF-8", "ja_JP", "en_US", "C", "", "svx", "POSIX"}) {
    EXPECT_EQ(LanguageOfLocale(other), Language::English) << other;
  }
}

}  // namespace
}  // namespace vekhor
