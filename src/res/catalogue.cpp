// The built-in copy of the message catalogue, from the same list as the resource string table.
#include "res/catalogue.h"

#include <array>

namespace vekhor {
namespace {

struct Entry {
  int number;
  std::string_view english;
  std::string_view swedish;
};

constexpr std::array kEntries = {
#define VEKHOR_TEXT(number, english, swedish) Entry{number, english, swedish},
#include "res/catalogue_texts.inc"
#undef VEKHOR_TEXT
};

static_assert(kEntries.size() == kLastText - kFirstText + 1, "numbers are contiguous");
static_assert(kEntries.front().number == kFirstText && kEntries.back().number == kLastText);

}  // namespace

std::string_view CatalogueText(int number, Language language) {
  if (number < kFirstText || number > kLastText) return {};
  const Entry& entry = kEntries[static_cast<std::size_t>(number - kFirstText)];
  return language == Language::Swedish ? entry.swedish : entry.english;
}

Language LanguageOfLocale(std::string_view localeName) {
  const bool swedish = localeName.size() >= 2 && localeName.substr(0, 2) == "sv" &&
                       (localeName.size() == 2 || localeName[2] == '_' || localeName[2] == '-' ||
                        localeName[2] == '.');
  return swedish ? Language::Swedish : Language::English;
}

}  // namespace vekhor
