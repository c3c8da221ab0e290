#include "options.h"

#include <cstdlib>

namespace timeserver {

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
      const auto behaviour = ParseBehaviour(value, error);
      if (!behaviour) return std::nullopt;
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
