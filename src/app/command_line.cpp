#include "app/command_line.h"

#include <cctype>

namespace vekhor::app {

bool AsksForCloseMode(std::string_view arguments) {
  constexpr std::string_view kClose = "close";
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = arguments.find('/', start);
    const std::string_view piece = arguments.substr(start, slash - start);
    if (piece.size() >= kClose.size()) {
      bool same = true;
      for (std::size_t i = 0; i < kClose.size(); ++i) {
        same = same && std::tolower(static_cast<unsigned char>(piece[i])) == kClose[i];
      }
      if (same) return true;
    }
    if (slash == std::string_view::npos) return false;
    start = slash + 1;
  }
}

}  // namespace vekhor::app
