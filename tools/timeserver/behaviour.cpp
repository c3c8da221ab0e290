#include "behaviour.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace timeserver {
namespace {

// Which modifiers a behaviour takes, as a set of bits.
constexpr unsigned kAt = 1;
constexpr unsigned kOffset = 2;
constexpr unsigned kRoundTrip = 4;

enum class Argument { None, Seconds, Hex, Code };

struct Name {
  const char* text;
  Kind kind;
  Argument argument;
  unsigned modifiers;
};

constexpr unsigned kSntpModifiers = kOffset | kRoundTrip;

// `offset:S` is the old spelling of `time,offset=S`.
constexpr Name kNames[] = {
    {"time", Kind::Time, Argument::None, kAt | kOffset},
    {"offset", Kind::Time, Argument::Seconds, kAt},
    {"now", Kind::Now, Argument::None, 0},
    {"bytes", Kind::Bytes, Argument::Hex, 0},
    {"silence", Kind::Silence, Argument::None, 0},
    {"close", Kind::Close, Argument::None, 0},
    {"flood", Kind::Flood, Argument::None, 0},
    {"split", Kind::Split, Argument::None, 0},
    {"refuse", Kind::Refuse, Argument::None, 0},
    {"sntp", Kind::Sntp, Argument::None, kSntpModifiers},
    {"sntp-kod", Kind::SntpKissOfDeath, Argument::Code, kSntpModifiers},
    {"sntp-wrong-origin", Kind::SntpWrongOrigin, Argument::None, kSntpModifiers},
    {"sntp-leap3", Kind::SntpLeap3, Argument::None, kSntpModifiers},
    {"sntp-short", Kind::SntpShort, Argument::None, kSntpModifiers},
    {"sntp-silence", Kind::SntpSilence, Argument::None, kSntpModifiers},
};

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos;) {
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// Plain decimal seconds, e.g. -2.5; less than one NTP era (2^32 s) either way, so every
// timestamp the server computes stays inside 64-bit nanoseconds.
std::optional<std::chrono::nanoseconds> ParseSeconds(const std::string& text) {
  if (text.empty() || text.find_first_not_of("+-.0123456789") != std::string::npos) return {};
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !(std::fabs(seconds) < 4294967296.0)) return {};
  return std::chrono::nanoseconds(std::llround(seconds * 1e9));
}

std::optional<std::chrono::milliseconds> ParseMilliseconds(const std::string& text, long most) {
  if (text.empty() || text.size() > 6 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return {};
  }
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > most) return {};
  return std::chrono::milliseconds(value);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> ParseHex(const std::string& hex) {
  if (hex.empty() || hex.size() % 2 != 0) return {};
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return {};
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

// A kiss code is one to four ASCII letters or digits; the reply zero-fills the rest.
std::optional<std::string> ParseCode(const std::string& code) {
  if (code.empty() || code.size() > 4) return {};
  for (const char c : code) {
    const bool letterOrDigit =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letterOrDigit) return {};
  }
  return code;
}

template <typename T>
bool Store(const std::optional<T>& parsed, T& field) {
  if (parsed) field = *parsed;
  return parsed.has_value();
}

// Reads `argument` into `behaviour`; false when it is missing, unexpected or malformed.
bool ParseArgument(Argument kind, const std::optional<std::string>& argument,
                   Behaviour& behaviour) {
  if (kind == Argument::None) return !argument;
  if (!argument) return false;
  switch (kind) {
    case Argument::Seconds:
      return Store(ParseSeconds(*argument), behaviour.offset);
    case Argument::Hex:
      return Store(ParseHex(*argument), behaviour.bytes);
    case Argument::Code:
      return Store(ParseCode(*argument), behaviour.bytes);
    case Argument::None:
      break;
  }
  return false;
}

using StoreValue = bool (*)(const std::string& value, Behaviour& behaviour);

constexpr struct {
  const char* key;
  unsigned bit;
  const char* values;
  StoreValue store;
} kModifiers[] = {
    {"at", kAt, "0 to 999 (ms)",
     [](const std::string& value, Behaviour& behaviour) {
       return Store(ParseMilliseconds(value, 999), behaviour.at);
     }},
    {"offset", kOffset, "seconds, less than 2^32 either way",
     [](const std::string& value, Behaviour& behaviour) {
       return Store(ParseSeconds(value), behaviour.offset);
     }},
    {"round-trip", kRoundTrip, "0 to 10000 (ms)",
     [](const std::string& value, Behaviour& behaviour) {
       return Store(ParseMilliseconds(value, 10000), behaviour.roundTrip);
     }},
};

// Reads one KEY=VALUE into `behaviour`; `taken` collects the modifiers seen, so none repeats.
bool ParseModifier(const std::string& text, unsigned allowed, unsigned& taken, Behaviour& behaviour,
                   std::string& error) {
  const std::size_t equals = text.find('=');
  const std::string key = text.substr(0, equals);
  const std::string value = equals == std::string::npos ? "" : text.substr(equals + 1);
  for (const auto& modifier : kModifiers) {
    if (key != modifier.key || !(allowed & modifier.bit)) continue;
    if (taken & modifier.bit) {
      error = key + " given twice";
      return false;
    }
    taken |= modifier.bit;
    const bool stored = modifier.store(value, behaviour);
    if (!stored) error = key + " takes " + modifier.values + ", not " + value;
    return stored;
  }
  error = "it takes no modifier " + key;
  return false;
}

}  // namespace

bool IsSntp(Kind kind) {
  return kind >= Kind::Sntp;
}

std::optional<Behaviour> ParseBehaviour(const std::string& text, std::string& error) {
  const std::vector<std::string> parts = SplitAtCommas(text);
  const std::size_t colon = parts[0].find(':');
  const std::string name = parts[0].substr(0, colon);
  std::optional<std::string> argument;
  if (colon != std::string::npos) argument = parts[0].substr(colon + 1);

  for (const Name& entry : kNames) {
    if (name != entry.text) continue;
    Behaviour behaviour{entry.kind, {}};
    if (!ParseArgument(entry.argument, argument, behaviour)) {
      error = "bad behaviour " + parts[0];
      return std::nullopt;
    }
    unsigned taken = 0;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (!ParseModifier(parts[i], entry.modifiers, taken, behaviour, error)) {
        error = "in behaviour " + text + ": " + error;
        return std::nullopt;
      }
    }
    return behaviour;
  }
  error = "unknown behaviour " + text;
  return std::nullopt;
}

}  // namespace timeserver
