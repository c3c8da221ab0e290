// The numbered texts the program shows and logs, in English and Swedish.
#pragma once

#include <string>
#include <string_view>

namespace vekhor {

enum class Language { English, Swedish };

inline constexpr int kFirstText = 101;
inline constexpr int kLastText = 147;

// Text numbers by meaning, for the places that use them.
namespace text {
inline constexpr int kCouldNotMakeConnection = 101;
inline constexpr int kNotConnected = 102;
inline constexpr int kInvalidResponse = 103;
inline constexpr int kClockSynchronised = 104;
inline constexpr int kSynchronize = 105;
inline constexpr int kExit = 106;
inline constexpr int kSynchronizeHourly = 107;
inline constexpr int kSettings = 108;
inline constexpr int kStartInTray = 109;
inline constexpr int kOpen = 110;
inline constexpr int kAbout = 111;
inline constexpr int kServers = 112;
inline constexpr int kAdd = 113;
inline constexpr int kRemove = 114;
inline constexpr int kLogToFile = 116;
inline constexpr int kViewLog = 117;
inline constexpr int kLogFileCreated = 118;
inline constexpr int kApplicationStarted = 119;
inline constexpr int kNoResponseFrom = 120;
inline constexpr int kClockAdjusted = 122;
inline constexpr int kApplicationClosed = 123;
inline constexpr int kConnectedTo = 124;
inline constexpr int kCheckInternet = 125;
inline constexpr int kNoValidLocalAddress = 126;
inline constexpr int kAutorun = 127;
inline constexpr int kDoubleClickToSync = 128;
inline constexpr int kFrom = 129;
inline constexpr int kTo = 130;
inline constexpr int kClockNotSet = 131;
inline constexpr int kNoTimeReceived = 132;
inline constexpr int kImplausibleTimeFrom = 133;
inline constexpr int kWindowNotCreated = 134;
inline constexpr int kSetClockAsAdministrator = 135;
inline constexpr int kAdministratorCancelled = 136;
inline constexpr int kAsAdministrator = 137;
inline constexpr int kClockWas = 138;
inline constexpr int kClockSlow = 139;
inline constexpr int kClockFast = 140;
inline constexpr int kTimeProtocol = 141;
inline constexpr int kRoundTrip = 142;
inline constexpr int kServerRefused = 143;
inline constexpr int kAskedMomentsAgo = 144;
inline constexpr int kEarlierEntryStays = 145;
inline constexpr int kAskedWithoutEcho = 146;
inline constexpr int kRunTookTooLong = 147;
}  // namespace text

// The UTF-8 text of `number`, or an empty view for a number outside the catalogue.
std::string_view CatalogueText(int number, Language language);

// Swedish for a Swedish locale name ("sv_SE.UTF-8", "sv-FI", "sv"), English for any other.
Language LanguageOfLocale(std::string_view localeName);

// LoadResString: the text of a number in the current language, in the system code page.
class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual std::string LoadResString(int number) const = 0;
};

// The built-in catalogue in one fixed language.
class CatalogueTexts final : public TextSource {
 public:
  explicit CatalogueTexts(Language language) : language_(language) {}
  std::string LoadResString(int number) const override {
    return std::string(CatalogueText(number, language_));
  }

 private:
  Language language_;
};

}  // namespace vekhor
