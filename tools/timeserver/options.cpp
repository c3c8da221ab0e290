#include "options.h"

#include <cstdlib>

namespace timeserver {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<Behaviour> ParseBehaviour(const std::string& text) {
  static const struct {
    const char* name;
    Kind kind;
  } kNames[] = {{"time", Kind::Time},    {"now", Kind::Now},     {"silence", Kind::Silence},
                {"close", Kind::Close},  {"flood", Kind::Flood}, {"split", Kind::Split},
                {"refuse", Kind::Refuse}};
  for (const auto& entry : kNames) {
    if (text == entry.name) return Behaviour{entry.kind, {}};
  }
  const std::string offset = "offset:";
  if (text.rfind(offset, 0) == 0) {
    char* end = nullptr;
    const long long seconds = std::strtoll(text.c_str() + offset.size(), &end, 10);
    if (end == text.c_str() + offset.size() || *end != '\0') return std::nullopt;
    return Behaviour{Kind::Offset, {}, seconds};
  }
  const std::string prefix = "bytes:";
  if (text.rfind(prefix, 0) != 0) return std::nullopt;
  const std::string hex = text.substr(prefix.size());
  if (hex.empty() || hex.size() % 2 != 0) return std::nullopt;
  Behaviour behaviour{Kind::Bytes, {}};
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    behaviour.bytes += static_cast<char>(high * 16 + low);
  }
  return behaviour;
}

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--") {
      options.command.assign(arguments.begin() + static_cast<long>(i) + 1, arguments.end());
      if (options.command.empty()) {
        error = "no command after --";
        return std::nullopt;
      }
      break;
    }
    if (i + 1 >= arguments.size()) {
      error = "missing value for " + argument;
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (argument == "--behaviour") {
      const auto behaviour = ParseBehaviour(value);
      if (!behaviour) {
        error = "unknown behaviour " + value;
        return std::nullopt;
      }
      options.behaviour = *behaviour;
    } else if (argument == "--port") {
      char* end = nullptr;
      const long port = std::strtol(value.c_str(), &end, 10);
      if (*end != '\0' || port < 0 || port > 65535) {
        error = "bad port " + value;
        return std::nullopt;
      }
      options.port = static_cast<int>(port);
    } else {
      error = "unknown option " + argument;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace timeserver
